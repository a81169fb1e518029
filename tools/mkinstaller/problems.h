// Problems found in a manifest and its inputs. Validation collects every
// problem before anything is built, so the user sees them all at once.
#pragma once

#include <string>
#include <vector>

struct Problem {
    std::string field;     // "product.logo", "file[3].name", or the manifest path
    std::string message;   // what is wrong, without the field
    int line;              // line in the manifest, 0 when none applies
    int column;            // column in the manifest, 0 when none applies
    bool warning = false;  // told, but nothing is refused for it
};

class ProblemList {
public:
    void Add(std::string field, std::string message, int line = 0, int column = 0) {
        items_.push_back({std::move(field), std::move(message), line, column});
    }
    // A choice that works but is unlikely to be what the author wants.
    void Warn(std::string field, std::string message, int line) {
        items_.push_back({std::move(field), std::move(message), line, 0, true});
    }
    // No problem but warnings.
    bool Empty() const { return ErrorCount() == 0; }
    size_t ErrorCount() const {
        size_t count = 0;
        for (const Problem& item : items_) count += item.warning ? 0 : 1;
        return count;
    }
    const std::vector<Problem>& Items() const { return items_; }

private:
    std::vector<Problem> items_;
};

// Prints one line a problem or warning on standard error: where (the
// manifest, its line and column, the field; "mkinstaller" for a command-line
// option), then what.
void PrintProblems(const std::string& manifestPath, const ProblemList& problems);
