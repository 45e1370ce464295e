// Loading a picture for the user: a picture that reads comes back without a word; a failure
// tells the user once, naming the file, unless the caller asked for quiet.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/message.h"
#include "app/picture_loading.h"
#include "base/text.h"
#include "picture/picture.h"

namespace {

std::string g_lastMessage;
int g_messages = 0;

MessageAnswer RecordMessage(const std::string& text, MessageButtons)
{
    g_lastMessage = text;
    ++g_messages;
    return MessageAnswer::Ok;
}

class PictureLoading : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_lastMessage.clear();
        g_messages = 0;
        m_previous = SetMessageHandler(RecordMessage);
    }
    void TearDown() override { SetMessageHandler(m_previous); }

    MessageHandler m_previous = nullptr;
};

TEST_F(PictureLoading, FailureTellsTheUserAndNamesTheFile)
{
    const std::string path = testing::TempDir() + "missing_picture.bmp";
    EXPECT_EQ(LoadPictureOrComplain(path, nullptr, false), nullptr);
    EXPECT_EQ(g_messages, 1);
    EXPECT_NE(g_lastMessage.find("missing_picture.bmp"), std::string::npos) << g_lastMessage;
}

TEST_F(PictureLoading, QuietFailureSaysNothing)
{
    EXPECT_EQ(LoadPictureOrComplain(testing::TempDir() + "missing_picture.bmp", nullptr, true), nullptr);
    EXPECT_EQ(g_messages, 0);
}

TEST_F(PictureLoading, ReadablePictureComesBackSilently)
{
    const std::string path = testing::TempDir() + "two_pixels.ppm";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    const char ppm[] = "P6\n2 1\n255\n\xff\x00\x00\x00\x00\xff";
    std::fwrite(ppm, 1, sizeof ppm - 1, f);
    std::fclose(f);

    std::unique_ptr<CPicture> picture(LoadPictureOrComplain(path, nullptr, false));
    std::remove(path.c_str());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 2);
    EXPECT_EQ(picture->Height(), 1);
    EXPECT_EQ(g_messages, 0);
}

}  // namespace
