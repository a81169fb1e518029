#include "manifest_reader.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string_view>

#include <toml++/toml.h>

#include "cp1252.h"
#include "file_time.h"

namespace fs = std::filesystem;

namespace {

const std::initializer_list<std::string_view> TopKeys = {"product", "file"};
const std::initializer_list<std::string_view> ProductKeys = {
    "name", "version", "default_folder", "group", "description", "logo", "icon"};
const std::initializer_list<std::string_view> FileKeys = {"name", "source", "time"};

int LineOf(const toml::node& node) { return static_cast<int>(node.source().begin.line); }

class Reader {
public:
    Reader(const ManifestLocation& source, ProblemList& problems)
        : problems_(problems), searchDirs_(source.sourceDirs) {
        searchDirs_.push_back(fs::path(source.path).parent_path().string());
    }

    ProductManifest Read(const toml::table& root) {
        ProductManifest manifest;
        CheckKeys(root, TopKeys, "");
        ReadProduct(root, manifest);
        ReadFiles(root, manifest);
        return manifest;
    }

private:
    ProblemList& problems_;
    std::vector<std::string> searchDirs_;

    void CheckKeys(const toml::table& table, std::initializer_list<std::string_view> allowed,
                   const std::string& prefix) {
        for (auto&& [key, node] : table) {
            bool known = false;
            for (std::string_view name : allowed) known = known || key.str() == name;
            if (!known) problems_.Add(prefix + std::string(key.str()), "unknown key", LineOf(node));
        }
    }

    void ReadProduct(const toml::table& root, ProductManifest& manifest) {
        const toml::table* product = root["product"].as_table();
        if (product == nullptr) {
            problems_.Add("product", root.contains("product") ? "must be a table" : "is missing");
            return;
        }
        CheckKeys(*product, ProductKeys, "product.");
        const int line = LineOf(*product);
        manifest.name = ReadText(*product, "name", "product.name", line);
        manifest.version = ReadText(*product, "version", "product.version", line);
        manifest.defaultFolder = ReadText(*product, "default_folder", "product.default_folder", line);
        manifest.group = ReadText(*product, "group", "product.group", line);
        manifest.description = ReadLines(*product, "description", "product.description", line);
        manifest.logoPath = ReadPath(*product, "logo", "product.logo", line);
        manifest.iconPath = ReadPath(*product, "icon", "product.icon", line);
    }

    void ReadFiles(const toml::table& root, ProductManifest& manifest) {
        const toml::node* node = root.get("file");
        if (node == nullptr) {
            problems_.Add("file", "is missing: list the payload files as [[file]] tables");
            return;
        }
        const toml::array* rows = node->as_array();
        if (rows == nullptr) {
            problems_.Add("file", "must be an array of tables ([[file]])", LineOf(*node));
            return;
        }
        for (size_t i = 0; i < rows->size(); ++i) {
            const std::string field = "file[" + std::to_string(i) + "]";
            const toml::table* row = (*rows)[i].as_table();
            if (row == nullptr) {
                problems_.Add(field, "must be a table", LineOf((*rows)[i]));
                continue;
            }
            manifest.files.push_back(ReadFileRow(*row, field));
        }
    }

    FileRow ReadFileRow(const toml::table& row, const std::string& field) {
        CheckKeys(row, FileKeys, field + ".");
        FileRow file;
        const int line = LineOf(row);
        file.name = ReadText(row, "name", field + ".name", line);
        if (row.contains("source")) {
            file.sourcePath = ReadPath(row, "source", field + ".source", line);
        } else if (!file.name.empty()) {
            file.sourcePath = ResolveInput(*row["name"].value<std::string>(), field + ".name", line);
        }
        if (const toml::node* time = row.get("time")) file.fixedTime = ReadTime(*time, field + ".time");
        return file;
    }

    // A product text: a non-empty string without control characters that
    // Windows-1252 can represent. Returns "" after reporting a problem.
    std::string ReadText(const toml::table& table, std::string_view key, const std::string& field, int line) {
        const toml::node* node = table.get(key);
        if (node == nullptr) {
            problems_.Add(field, "is missing", line);
            return {};
        }
        return ConvertText(*node, field);
    }

    std::string ConvertText(const toml::node& node, const std::string& field) {
        const int line = LineOf(node);
        const toml::value<std::string>* value = node.as_string();
        if (value == nullptr) {
            problems_.Add(field, "must be a string", line);
            return {};
        }
        const std::string& utf8 = value->get();
        if (utf8.empty()) {
            problems_.Add(field, "is empty", line);
            return {};
        }
        for (unsigned char c : utf8) {
            if (c < 0x20 || c == 0x7F) {
                problems_.Add(field, "contains a control character", line);
                return {};
            }
        }
        const Cp1252Result converted = Utf8ToCp1252(utf8);
        if (!converted.ok) {
            char codePoint[16];
            std::snprintf(codePoint, sizeof codePoint, "U+%04X", converted.badCodePoint);
            problems_.Add(field, std::string("has a character that Windows-1252 cannot represent (") + codePoint + ")", line);
            return {};
        }
        return converted.text;
    }

    std::vector<std::string> ReadLines(const toml::table& table, std::string_view key, const std::string& field, int line) {
        const toml::node* node = table.get(key);
        if (node == nullptr) {
            problems_.Add(field, "is missing", line);
            return {};
        }
        const toml::array* lines = node->as_array();
        if (lines == nullptr || lines->empty()) {
            problems_.Add(field, "must be a non-empty array of lines", LineOf(*node));
            return {};
        }
        std::vector<std::string> result;
        for (size_t i = 0; i < lines->size(); ++i) {
            result.push_back(ConvertText((*lines)[i], field + "[" + std::to_string(i) + "]"));
        }
        return result;
    }

    std::string ReadPath(const toml::table& table, std::string_view key, const std::string& field, int line) {
        const toml::node* node = table.get(key);
        if (node == nullptr) {
            problems_.Add(field, "is missing", line);
            return {};
        }
        const toml::value<std::string>* value = node->as_string();
        if (value == nullptr || value->get().empty()) {
            problems_.Add(field, "must be a non-empty path", LineOf(*node));
            return {};
        }
        return ResolveInput(value->get(), field, LineOf(*node));
    }

    // Finds an input: absolute as given, relative in each source folder in
    // turn and then beside the manifest. Checks that it can be read.
    std::string ResolveInput(const std::string& path, const std::string& field, int line) {
        std::vector<fs::path> candidates;
        if (fs::path(path).is_absolute()) {
            candidates.push_back(path);
        } else {
            for (const std::string& dir : searchDirs_) candidates.push_back(fs::path(dir) / path);
        }
        for (const fs::path& candidate : candidates) {
            std::error_code error;
            if (!fs::exists(candidate, error)) continue;
            if (!fs::is_regular_file(candidate, error)) {
                problems_.Add(field, "'" + candidate.string() + "' is not a regular file", line);
                return {};
            }
            if (!std::ifstream(candidate, std::ios::binary)) {
                problems_.Add(field, "'" + candidate.string() + "' cannot be read", line);
                return {};
            }
            return candidate.string();
        }
        std::string looked;
        for (const fs::path& candidate : candidates) looked += (looked.empty() ? "" : ", ") + candidate.string();
        problems_.Add(field, "'" + path + "' not found (looked for " + looked + ")", line);
        return {};
    }

    std::optional<uint64_t> ReadTime(const toml::node& node, const std::string& field) {
        const toml::value<toml::date_time>* value = node.as_date_time();
        if (value == nullptr || !value->get().offset) {
            problems_.Add(field, "must be a date and time with a UTC offset, e.g. 1998-06-14T10:32:00Z", LineOf(node));
            return std::nullopt;
        }
        const toml::date_time& stamp = value->get();
        const int64_t seconds = UnixSeconds(stamp.date.year, stamp.date.month, stamp.date.day, stamp.time.hour,
                                            stamp.time.minute, stamp.time.second) -
                                static_cast<int64_t>(stamp.offset->minutes) * 60;
        std::optional<uint64_t> fileTime = FileTimeOfUnix(seconds, stamp.time.nanosecond);
        if (!fileTime) problems_.Add(field, "lies before 1601, where Windows file times begin", LineOf(node));
        return fileTime;
    }
};

}  // namespace

std::optional<ProductManifest> ReadManifest(const ManifestLocation& source, ProblemList& problems) {
    toml::table root;
    try {
        root = toml::parse_file(source.path);
    } catch (const toml::parse_error& error) {
        const auto& begin = error.source().begin;
        problems.Add("", std::string(error.description()), static_cast<int>(begin.line),
                     static_cast<int>(begin.column));
        return std::nullopt;
    }
    return Reader(source, problems).Read(root);
}
