#include "tools/mkinstaller/manifest_reader.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <set>
#include <string_view>

#include <toml++/toml.h>

#include "common/cp1252.h"
#include "tools/mkinstaller/name_rules.h"
#include "tools/mkinstaller/signing.h"
#include "tools/mkinstaller/spelling.h"
#include "common/file_time.h"

namespace fs = std::filesystem;

namespace {

// The way out when a Windows path was written in double quotes, where a
// backslash starts an escape.
const char SingleQuotesHint[] =
    "; write Windows paths in single quotes, where a backslash is a backslash: 'C:\\Folder'";

const std::initializer_list<std::string_view> TopKeys = {"product", "file", "sign"};
const std::initializer_list<std::string_view> ProductKeys = {
    "name", "version", "default_folder", "group", "description", "logo", "icon", "elevation", "arch", "time"};
const std::initializer_list<std::string_view> FileKeys = {"name", "source", "time", "keep_existing"};
const std::initializer_list<std::string_view> SignKeys = {"certificate", "key", "pkcs12", "password_file"};

int LineOf(const toml::node& node) {
    return static_cast<int>(node.source().begin.line);
}

class Reader {
public:
    Reader(const ManifestLocation& source, ProblemList& problems)
        : problems_(problems), searchDirs_(source.sourceDirs), allowOutside_(source.allowOutsideInputs) {
        searchDirs_.push_back(fs::u8path(source.path).parent_path().u8string());
    }

    ProductManifest Read(const toml::table& root) {
        CheckKeys(root, TopKeys, "");
        ReadProduct(root);
        ReadFiles(root);
        ReadSigning(root);
        return std::move(manifest_);
    }

private:
    ProblemList& problems_;
    std::vector<std::string> searchDirs_;
    bool allowOutside_;
    ProductManifest manifest_;
    std::set<std::string> guessed_;        // fields offered for a misspelt key, not also reported missing
    std::optional<uint64_t> defaultTime_;  // [product] time, for the rows that give none

    void CheckKeys(const toml::table& table, std::initializer_list<std::string_view> allowed,
                   const std::string& prefix) {
        for (auto&& [key, node] : table) {
            bool known = false;
            for (std::string_view name : allowed) known = known || key.str() == name;
            if (known) continue;
            const std::string guess = ClosestWord(key.str(), allowed);
            if (!guess.empty()) guessed_.insert(prefix + guess);
            problems_.Add(prefix + std::string(key.str()),
                          guess.empty() ? "unknown key" : "unknown key; did you mean '" + guess + "'?", LineOf(node));
        }
    }

    // The node of `key`, its line noted for later messages; a missing
    // required key is reported at its table's line.
    const toml::node* Field(const toml::table& table, std::string_view key, const std::string& field,
                            bool required = true) {
        const toml::node* node = table.get(key);
        if (node != nullptr) {
            manifest_.lines[field] = LineOf(*node);
        } else if (required && guessed_.count(field) == 0) {
            problems_.Add(field, "is missing", LineOf(table));
        }
        return node;
    }

    void ReadProduct(const toml::table& root) {
        const toml::table* product = root["product"].as_table();
        if (product == nullptr) {
            const toml::node* node = root.get("product");
            if (node != nullptr || guessed_.count("product") == 0) {
                problems_.Add("product", node ? "must be a table" : "is missing", node ? LineOf(*node) : 0);
            }
            return;
        }
        CheckKeys(*product, ProductKeys, "product.");
        manifest_.name = ReadText(*product, "name", "product.name");
        manifest_.version = ReadText(*product, "version", "product.version");
        manifest_.defaultFolder = ReadText(*product, "default_folder", "product.default_folder");
        manifest_.group = ReadText(*product, "group", "product.group");
        manifest_.description = ReadLines(*product, "description", "product.description");
        manifest_.logoPath = ReadPath(*product, "logo", "product.logo", Packed::Yes);
        manifest_.iconPath = ReadPath(*product, "icon", "product.icon", Packed::Yes);
        ReadChoices(*product);
        if (const toml::node* time = Field(*product, "time", "product.time", false)) {
            defaultTime_ = ReadTime(*time, "product.time");
        }
    }

    void ReadSigning(const toml::table& root) {
        const toml::node* node = root.get("sign");
        if (node == nullptr) return;
        const toml::table* sign = node->as_table();
        if (sign == nullptr) {
            problems_.Add("sign", "must be a table", LineOf(*node));
            return;
        }
        manifest_.lines["sign"] = LineOf(*sign);
        if (SigningUnavailable != nullptr) problems_.Add("sign", SigningUnavailable, LineOf(*sign));
        CheckKeys(*sign, SignKeys, "sign.");
        Signing signing;
        if (sign->contains("pkcs12")) {
            if (sign->contains("certificate") || sign->contains("key")) {
                problems_.Add("sign", "give either pkcs12 or certificate and key, not both", LineOf(*sign));
            }
            signing.pkcs12 = ReadPath(*sign, "pkcs12", "sign.pkcs12");
        } else {
            signing.certificate = ReadPath(*sign, "certificate", "sign.certificate");
            signing.key = ReadPath(*sign, "key", "sign.key");
        }
        if (sign->contains("password_file"))
            signing.passwordFile = ReadPath(*sign, "password_file", "sign.password_file");
        manifest_.signing = signing;
    }

    // A key that takes one of two words, the first its default: the word's
    // index, or -1 after reporting any other value.
    int ReadChoice(const toml::table& table, std::string_view key, const std::string& field,
                   const std::array<const char*, 2>& words) {
        const toml::node* node = Field(table, key, field, false);
        if (node == nullptr) return 0;
        const std::optional<std::string> value = node->value<std::string>();
        for (size_t i = 0; i < words.size(); ++i) {
            if (value == words[i]) return static_cast<int>(i);
        }
        problems_.Add(field, std::string("must be \"") + words[0] + "\" (the default) or \"" + words[1] + "\"",
                      LineOf(*node));
        return -1;
    }

    void ReadChoices(const toml::table& product) {
        manifest_.requireAdministrator =
            ReadChoice(product, "elevation", "product.elevation", {"user", "administrator"}) == 1;
        const int arch = ReadChoice(product, "arch", "product.arch", {ArchName(Arch::X86), ArchName(Arch::X64)});
        if (arch < 0) manifest_.arch.reset();
        if (arch == 1) manifest_.arch = Arch::X64;
    }

    void ReadFiles(const toml::table& root) {
        const toml::node* node = root.get("file");
        if (node == nullptr) {
            if (guessed_.count("file") == 0) {
                problems_.Add("file", "is missing: list the payload files as [[file]] tables");
            }
            return;
        }
        const toml::array* rows = node->as_array();
        if (rows == nullptr) {
            problems_.Add("file", "must be an array of tables ([[file]])", LineOf(*node));
            return;
        }
        if (!rows->empty()) manifest_.lines["file"] = LineOf((*rows)[0]);
        for (size_t i = 0; i < rows->size(); ++i) {
            const std::string field = RowField(i);
            const toml::table* row = (*rows)[i].as_table();
            if (row == nullptr) {
                problems_.Add(field, "must be a table", LineOf((*rows)[i]));
                continue;
            }
            manifest_.files.push_back(ReadFileRow(*row, field));
        }
    }

    FileRow ReadFileRow(const toml::table& row, const std::string& field) {
        CheckKeys(row, FileKeys, field + ".");
        FileRow file;
        file.name = ReadText(row, "name", field + ".name");
        if (row.contains("source")) {
            file.sourcePath = ReadPath(row, "source", field + ".source", Packed::Yes);
        } else if (!file.name.empty() && FileNameProblem(file.name).empty() && guessed_.count(field + ".source") == 0) {
            // A name that is refused, or a misspelt source key, is not
            // reported again as a file the name does not find.
            const int line = manifest_.lines[field + ".source"] = manifest_.lines[field + ".name"];
            file.sourcePath = ResolveInput(*row["name"].value<std::string>(), field + ".name", line, Packed::Yes);
        }
        if (const toml::node* time = Field(row, "time", field + ".time", false)) {
            file.fixedTime = ReadTime(*time, field + ".time");
        } else {
            file.fixedTime = defaultTime_;
        }
        if (const toml::node* keep = Field(row, "keep_existing", field + ".keep_existing", false)) {
            const std::optional<bool> value = keep->value_exact<bool>();
            if (!value) problems_.Add(field + ".keep_existing", "must be true or false", LineOf(*keep));
            file.keepExisting = value.value_or(false);
        }
        return file;
    }

    // A product text: a non-empty string without control characters that
    // Windows-1252 can represent. Returns "" after reporting a problem.
    std::string ReadText(const toml::table& table, std::string_view key, const std::string& field) {
        const toml::node* node = Field(table, key, field);
        return node == nullptr ? std::string() : ConvertText(*node, field);
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
                // "C:\tools\new" in double quotes holds a tab and a line break.
                const bool escaped = c != 0 && std::strchr("\b\t\n\f\r", c) != nullptr;
                problems_.Add(field, std::string("contains a control character") + (escaped ? SingleQuotesHint : ""),
                              line);
                return {};
            }
        }
        const Cp1252Result converted = Utf8ToCp1252(utf8);
        if (!converted.ok) {
            char codePoint[16];
            std::snprintf(codePoint, sizeof codePoint, "U+%04X", converted.badCodePoint);
            problems_.Add(field, std::string("has a character that Windows-1252 cannot represent (") + codePoint + ")",
                          line);
            return {};
        }
        return converted.text;
    }

    std::vector<std::string> ReadLines(const toml::table& table, std::string_view key, const std::string& field) {
        const toml::node* node = Field(table, key, field);
        if (node == nullptr) return {};
        const toml::array* lines = node->as_array();
        if (lines == nullptr || lines->empty()) {
            problems_.Add(field, "must be a non-empty array of lines", LineOf(*node));
            return {};
        }
        std::vector<std::string> result;
        for (size_t i = 0; i < lines->size(); ++i) {
            result.push_back(ConvertText((*lines)[i], field + "[" + std::to_string(i + 1) + "]"));
        }
        return result;
    }

    // Whether an input's bytes go into the setup program; the signing files
    // do not, and may lie anywhere.
    enum class Packed { No, Yes };

    std::string ReadPath(const toml::table& table, std::string_view key, const std::string& field,
                         Packed packed = Packed::No) {
        const toml::node* node = Field(table, key, field);
        if (node == nullptr) return {};
        const toml::value<std::string>* value = node->as_string();
        if (value == nullptr || value->get().empty()) {
            problems_.Add(field, "must be a non-empty path", LineOf(*node));
            return {};
        }
        return ResolveInput(value->get(), field, LineOf(*node), packed);
    }

    // True when `file`, its links followed, lies in one of the search folders.
    bool InsideSearchFolders(const fs::path& file) const {
        std::error_code error;
        const fs::path real = fs::canonical(file, error);
        if (error) return false;
        for (const std::string& dir : searchDirs_) {
            const fs::path folder = fs::canonical(dir.empty() ? fs::path(".") : fs::u8path(dir), error);
            if (error) continue;
            const fs::path relative = real.lexically_relative(folder);
            if (!relative.empty() && *relative.begin() != "..") return true;
        }
        return false;
    }

    // Finds an input: absolute as given, relative in each source folder in
    // turn and then beside the manifest. Checks that it can be read.
    std::string ResolveInput(const std::string& path, const std::string& field, int line, Packed packed) {
        std::vector<fs::path> candidates;
        if (fs::u8path(path).is_absolute()) {
            candidates.push_back(fs::u8path(path));
        } else {
            for (const std::string& dir : searchDirs_) candidates.push_back(fs::u8path(dir) / fs::u8path(path));
        }
        for (const fs::path& candidate : candidates) {
            std::error_code error;
            if (!fs::exists(candidate, error)) continue;
            if (!fs::is_regular_file(candidate, error)) {
                problems_.Add(field, "'" + candidate.u8string() + "' is not a regular file", line);
                return {};
            }
            if (!std::ifstream(candidate, std::ios::binary)) {
                problems_.Add(field, "'" + candidate.u8string() + "' cannot be read", line);
                return {};
            }
            if (packed == Packed::Yes && !allowOutside_ && !InsideSearchFolders(candidate)) {
                problems_.Add(field,
                              "'" + candidate.u8string() + "' lies outside the manifest's folder and the " +
                                  "--source-dir folders (links followed); pass --allow-outside-inputs to pack " +
                                  "it all the same",
                              line);
                return {};
            }
            return candidate.u8string();
        }
        std::string looked;
        for (const fs::path& candidate : candidates) looked += (looked.empty() ? "" : ", ") + candidate.u8string();
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

// toml++'s words for a backslash that does not start a TOML escape, as in
// the Windows path "C:\Holbrine", with the way out.
std::string ParseErrorText(const toml::parse_error& error) {
    std::string text(error.description());
    if (text.find("escape sequence") != std::string::npos) text += SingleQuotesHint;
    return text;
}

constexpr uintmax_t MaxManifestBytes = 64 << 20;  // 65,535 rows take a few MB
constexpr int MaxDotsInALine = 64;

struct TextProblem {
    int line;
    std::string text;
};

bool IsAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

bool IsTomlWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Where a bare value (a number, date or word) ends; the parser reads every
// other character up to there as part of it, quotes too.
bool EndsBareValue(char c) {
    return IsTomlWhitespace(c) || c == ']' || c == '}' || c == ',' || c == '#';
}

// After the backslash at AT of a basic string: where the scan goes on (the
// escaped character, or the last whitespace after a line-ending backslash),
// counting lines; false when a character outside ASCII follows in a
// multi-line string, where the parser asks whether it is whitespace.
bool PassEscape(const std::string& text, bool multiLine, size_t& at, int& line) {
    size_t next = at + 1;
    while (multiLine && next < text.size() && IsTomlWhitespace(text[next])) line += text[next++] == '\n';
    if (multiLine && next < text.size() && !IsAscii(text[next])) return false;
    const bool continued = next > at + 1;
    if (!continued && next < text.size() && text[next] == '\n') ++line;
    at = continued ? next - 1 : next;
    return true;
}

// What the parser must not be given, found in one pass that knows strings,
// comments and bare values: more dots in a line than a manifest's keys need
// (the parser descends once per dotted part of a key, and enough of them end
// its stack); a character outside ASCII where the parser asks whether it is
// whitespace, which for many of them it cannot answer (its table ends in an
// unreachable branch): outside strings and comments, where TOML allows none
// anyway, and after a backslash in a multi-line basic string.
std::optional<TextProblem> ParserTrap(const std::string& text) {
    int line = 1, dots = 0;
    char quote = 0;
    bool multiLine = false, bare = false;
    const size_t bom = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // the parser skips it
    for (size_t i = bom; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' && (quote == 0 || !multiLine)) {
            quote = 0, bare = false, ++line, dots = 0;
        } else if (quote != 0) {
            if (c == '\n') {
                ++line;
            } else if (c == '\\' && quote == '"' && !PassEscape(text, multiLine, i, line)) {
                return TextProblem{line,
                                   "a character outside ASCII right after a backslash in a multi-line "
                                   "string, which the TOML parser cannot read; escape it as \\u"};
            } else if (c == quote && (!multiLine || text.compare(i, 3, std::string(3, quote)) == 0)) {
                i += multiLine ? 2 : 0;
                quote = 0, multiLine = false;
            }
        } else if (c == '#') {
            while (i + 1 < text.size() && text[i + 1] != '\n') ++i;
            bare = false;
        } else if (!IsAscii(c)) {
            return TextProblem{line,
                               "a character outside ASCII outside a string or comment; TOML allows one "
                               "only between quotes or after #"};
        } else if (c == '.' && ++dots > MaxDotsInALine) {
            return TextProblem{line, "a key of more than " + std::to_string(MaxDotsInALine + 1) +
                                         " dotted parts; a manifest's keys have one or two"};
        } else if (bare) {
            bare = !EndsBareValue(c);
        } else if (c == '"' || c == '\'') {
            quote = c;
            multiLine = text.compare(i, 3, std::string(3, c)) == 0;
            i += multiLine ? 2 : 0;
        } else {
            bare = !EndsBareValue(c) && std::string_view("[{=").find(c) == std::string_view::npos;
        }
    }
    return std::nullopt;
}

// The manifest's text, when it is a file small enough to hold.
std::optional<std::string> ManifestText(const std::string& path, ProblemList& problems) {
    std::error_code error;
    const fs::file_status status = fs::status(fs::u8path(path), error);
    if (!fs::exists(status) || fs::is_directory(status)) {
        problems.Add("", fs::is_directory(status) ? "is a directory, not a manifest" : "not found");
        return std::nullopt;
    }
    if (!fs::is_regular_file(status)) {
        problems.Add("", "is not a regular file");
        return std::nullopt;
    }
    if (fs::file_size(fs::u8path(path), error) > MaxManifestBytes) {
        problems.Add("", "is over 64 MiB; a manifest of the most rows takes a few MB");
        return std::nullopt;
    }
    std::ifstream in(fs::u8path(path), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        problems.Add("", "cannot be read");
        return std::nullopt;
    }
    return text;
}

}  // namespace

std::optional<ProductManifest> ReadManifest(const ManifestLocation& source, ProblemList& problems) {
    const std::optional<std::string> text = ManifestText(source.path, problems);
    return text ? ReadManifestText(*text, source, problems) : std::nullopt;
}

std::optional<ProductManifest> ReadManifestText(const std::string& text, const ManifestLocation& source,
                                                ProblemList& problems) {
    if (const std::optional<TextProblem> trap = ParserTrap(text)) {
        problems.Add("", trap->text, trap->line);
        return std::nullopt;
    }
    toml::table root;
    try {
        root = toml::parse(text, source.path);
    } catch (const toml::parse_error& error) {
        const auto& begin = error.source().begin;
        problems.Add("", ParseErrorText(error), static_cast<int>(begin.line), static_cast<int>(begin.column));
        return std::nullopt;
    }
    return Reader(source, problems).Read(root);
}
