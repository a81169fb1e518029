// The installer reads a product record that a setup program edited by hand
// may hold: names that would leave the install folder, or texts longer than
// any report can carry, make the whole record damaged.
#include <gtest/gtest.h>

#include <string>

#include "common/product_record.h"

namespace {

// A record of the product name, group, description and one row.
std::string Record(const std::string& name, const std::string& group, const std::string& description,
                   const std::string& row) {
    return name + '\0' + "1.0" + '\0' + "C:\\Demo" + '\0' + group + '\0' + description + '\0' + row + '\0' + '\0';
}

TEST(ProductRecord, KeepsTheNameRulesAndTheTextLimits) {
    const struct {
        const char* label;
        std::string record;
        bool sound;
    } cases[] = {
        {"sound", Record("Demo", "Group", "text", "a.txt"), true},
        {"row leaving the folder", Record("Demo", "Group", "text", "..\\ESCAPED.TXT"), false},
        {"row with a slash", Record("Demo", "Group", "text", "sub/a.txt"), false},
        {"row on a drive", Record("Demo", "Group", "text", "C:a.txt"), false},
        {"row naming a device", Record("Demo", "Group", "text", "con.txt"), false},
        {"row of 259", Record("Demo", "Group", "text", std::string(259, 'r')), true},
        {"row kept on reinstall", Record("Demo", "Group", "text", "*a.txt"), true},
        {"mark without a name", Record("Demo", "Group", "text", "*"), false},
        {"mark twice", Record("Demo", "Group", "text", "**a.txt"), false},
        {"row of 260", Record("Demo", "Group", "text", std::string(260, 'r')), false},
        {"product name with a folder", Record("..\\Demo", "Group", "text", "a.txt"), false},
        {"group with a folder", Record("Demo", "..\\..\\Startup", "text", "a.txt"), false},
        {"empty group", Record("Demo", "", "text", "a.txt"), false},
        // The intro text adds 47 bytes: the format's 40, "1.0" and "Demo".
        {"intro text of 1023", Record("Demo", "Group", std::string(976, 'd'), "a.txt"), true},
        {"intro text of 1024", Record("Demo", "Group", std::string(977, 'd'), "a.txt"), false},
        {"version of 1024", Record("Demo", "Group", "text", "a.txt").replace(5, 3, std::string(1024, 'v')), false},
    };
    for (const auto& c : cases) {
        ProductRecordView view;
        EXPECT_EQ(ParseProductRecord(c.record.data(), c.record.size(), &view), c.sound) << c.label;
    }
}

}  // namespace
