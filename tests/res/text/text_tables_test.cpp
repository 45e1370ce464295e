// The two string tables read straight from the .rc sources: French has exactly the ids of
// English, every id name is defined, and the generated table holds every text of each file.
#include "base/text_table.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::map<std::string, unsigned> IdNames()
{
    std::map<std::string, unsigned> names;
    std::istringstream header(ReadFile(QUENTA_SOURCE_DIR "/res/resource.h"));
    for (std::string line; std::getline(header, line);) {
        std::istringstream words(line);
        std::string directive, name;
        unsigned id = 0;
        if (words >> directive >> name >> id && directive == "#define") names[name] = id;
    }
    return names;
}

// Id of every text line of the file's STRINGTABLE blocks, as written (a name or a number).
std::multiset<std::string> StringKeys(const std::string& file)
{
    std::multiset<std::string> keys;
    std::istringstream in(ReadFile(QUENTA_SOURCE_DIR "/res/" + file));
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("STRINGTABLE", 0) == 0) inside = true;
        if (line.rfind("END", 0) == 0) inside = false;
        // An entry: an id, an optional comma, then a quoted text ending the line.
        const size_t start = line.find_first_not_of(" \t");
        if (!inside || start == std::string::npos || line.back() != '"') continue;
        const size_t end = line.find_first_of(" \t,", start);
        const size_t quote = line.find('"');
        if (end != std::string::npos && quote > end) keys.insert(line.substr(start, end - start));
    }
    return keys;
}

std::set<unsigned> Ids(std::span<const TextEntry> table)
{
    std::set<unsigned> ids;
    for (const TextEntry& e : table) ids.insert(e.id);
    return ids;
}

TEST(TextTables, FrenchHasExactlyTheIdsOfEnglish)
{
    const auto english = StringKeys("strings_en.rc");
    const auto french = StringKeys("strings_fr.rc");
    ASSERT_GT(english.size(), 200u);
    EXPECT_EQ(std::set<std::string>(english.begin(), english.end()).size(), english.size())
        << "an id appears twice";
    for (const auto& key : english) EXPECT_EQ(french.count(key), 1u) << key << " has no French text";
    for (const auto& key : french) EXPECT_EQ(english.count(key), 1u) << key << " has no English text";
}

TEST(TextTables, EveryTextNameIsDefinedAndEveryDefinedTextExists)
{
    const auto names = IdNames();
    const auto english = StringKeys("strings_en.rc");
    for (const auto& key : english)
        EXPECT_TRUE(names.count(key) || std::isdigit(static_cast<unsigned char>(key[0]))) << key;
    for (const auto& [name, id] : names) {
        if (name.rfind("IDS_", 0) == 0) {
            EXPECT_EQ(english.count(name), 1u) << name << " has no text";
        }
    }
}

TEST(TextTables, GeneratedTablesHoldEveryTextSortedById)
{
    const auto names = IdNames();
    for (auto [file, table] : {std::pair{"strings_en.rc", kQuentaTexts.english},
                               std::pair{"strings_fr.rc", kQuentaTexts.french}}) {
        std::set<unsigned> expected;
        for (const auto& key : StringKeys(file))
            expected.insert(names.count(key) ? names.at(key) : static_cast<unsigned>(std::stoul(key)));
        EXPECT_EQ(Ids(table), expected) << file;
        for (size_t i = 1; i < table.size(); ++i) EXPECT_LT(table[i - 1].id, table[i].id) << file;
        for (const TextEntry& e : table) EXPECT_NE(*e.text, '\0') << file << " id " << e.id;
    }
}

}  // namespace
