// The batch run as its user sees it: the working window's lines, cancelling through the bars,
// the overwrite questions; and the folder listing that "Add Folder" uses.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/message.h"
#include "base/progress.h"
#include "base/text.h"
#include "picturetools/translator/file_ops.h"
#include "picturetools/translator/translator_observer.h"

namespace fs = std::filesystem;

namespace {
class FakeDisplay : public IWorkingDisplay {
public:
    void SetLine1(const std::string& text) override { line1 = text; }
    void SetLine2(const std::string& text) override { line2 = text; }
    bool SetFilesDone(int done) override
    {
        filesDone = done;
        return !cancelled;
    }
    bool ResetFileBar() override { return !cancelled; }
    CQnProgress& FileProgress() override { return sink; }

    std::string line1, line2;
    int filesDone = -1;
    bool cancelled = false;
    CQnProgress sink;
};

std::vector<std::string> g_asked;
std::vector<MessageAnswer> g_answers;
MessageAnswer Answer(const std::string& text, MessageButtons)
{
    g_asked.push_back(text);
    const MessageAnswer answer = g_answers.empty() ? MessageAnswer::No : g_answers.front();
    if (!g_answers.empty())
        g_answers.erase(g_answers.begin());
    return answer;
}
} // namespace

TEST(TranslatorObserver, LinesNameTheFileAndACancelStopsTheRun)
{
    SetTextLanguage(0x0409);
    FakeDisplay display;
    CTranslatorObserver observer(display);
    const std::string source = std::string("in") + kPathSeparator + "photo.jpg";
    EXPECT_TRUE(observer.BeginItem(2, 5, source));
    EXPECT_EQ(display.filesDone, 2);
    EXPECT_EQ(display.line1, "Processing file \"photo.jpg\"...");
    EXPECT_EQ(display.line2.find("photo.jpg") != std::string::npos, true);
    EXPECT_TRUE(observer.BeginSave(std::string("out") + kPathSeparator + "photo.BMP"));
    EXPECT_NE(display.line2.find("photo.BMP"), std::string::npos);
    EXPECT_EQ(observer.FileProgress(), &display.sink);
    display.cancelled = true;
    EXPECT_FALSE(observer.BeginItem(3, 5, source));
    EXPECT_FALSE(observer.BeginSave("x"));
}

TEST(TranslatorObserver, OverwriteAsksAgainOnlyAfterYesThenAll)
{
    SetTextLanguage(0x0409);
    const MessageHandler old = SetMessageHandler(Answer);
    FakeDisplay display;
    CTranslatorObserver observer(display);
    g_asked.clear();
    g_answers = {MessageAnswer::No};
    EXPECT_EQ(observer.AskOverwrite("C:\\out\\a.BMP"), OverwriteAnswer::No);
    ASSERT_EQ(g_asked.size(), 1u) << "No skips this file and asks nothing more";
    EXPECT_EQ(g_asked[0], "File \"C:\\out\\a.BMP\" already exists. Do you want to overwrite it?");
    g_answers = {MessageAnswer::Yes, MessageAnswer::No};
    EXPECT_EQ(observer.AskOverwrite("b"), OverwriteAnswer::Yes);
    g_answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    EXPECT_EQ(observer.AskOverwrite("c"), OverwriteAnswer::YesToAll);
    EXPECT_EQ(g_asked.back(), "Do you want to overwrite all existing files?");
    SetMessageHandler(old);
}

TEST(FilesInFolder, ListsTheFolderOwnFilesOnly)
{
    const fs::path root = fs::path(testing::TempDir()) / "qn_files_in_folder";
    fs::remove_all(root);
    fs::create_directories(root / "sub");
    for (const char* name : {"b.bmp", "a.txt"})
        std::ofstream((root / name).string()) << "x";
    std::ofstream((root / "sub" / "deeper.bmp").string()) << "x";
    std::vector<std::string> files = FilesInFolder(root.string());
    std::sort(files.begin(), files.end());
    const std::string prefix = root.string() + kPathSeparator;
    EXPECT_EQ(files, (std::vector<std::string>{prefix + "a.txt", prefix + "b.bmp"}));
    EXPECT_EQ(FilesInFolder(prefix).size(), 2u) << "a trailing separator is kept once";
    EXPECT_TRUE(FilesInFolder((root / "missing").string()).empty());
    fs::remove_all(root);
}
