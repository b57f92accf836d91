#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "media_types.h"
#include "number_convert.h"

namespace {

struct NameCase {
    const char* name;
    bool media;
};

const NameCase kNames[] = {
    {"song.mp3", true},
    {"SONG.MP3", false},      // case matters
    {"clip.tar.ogg", true},   // only the last dot counts
    {"song.mp3.bak", false},
    {".ogg", true},           // FindMedia skips dot-names, not this test
    {"notes", false},
    {"readme.txt", false},
    {"", false},
    {"a.", false},
    {"x.flac", true},
    {"x.midi", true},
    {"x.ra", true},
    {"x.au", true},
    {"x.flv", true},
    {"x.wav", true},
    {"x.Mp3", false},
    {"x.mp", false},
    {"x.mp3 ", false},
    {"mp3", false},
};

TEST(HasMediaExtension, Table)
{
    for (const NameCase& c : kNames)
        EXPECT_EQ(HasMediaExtension(c.name), c.media) << '"' << c.name << '"';
}

TEST(HasMediaExtension, LongNameDoesNotOverflow)
{
    std::string name = "a." + std::string(1000, 'x');
    EXPECT_FALSE(HasMediaExtension(name.c_str()));
    std::string longBase = std::string(1000, 'y') + ".ogg";
    EXPECT_TRUE(HasMediaExtension(longBase.c_str()));
}

TEST(MediaTypes, FixedOrderAndCells)
{
    const char* expected[MEDIA_TYPE_COUNT] = {
        "wav", "mp3", "wma", "ogg", "aac", "flac", "aiff", "ra", "ram", "mid",
        "midi", "au", "mp4", "m4a", "mkv", "avi", "mpg", "ogm", "flv",
    };
    for (int i = 0; i < MEDIA_TYPE_COUNT; ++i) {
        EXPECT_STREQ(g_mediaTypes[i], expected[i]);
        EXPECT_LE(std::strlen(g_mediaTypes[i]), 4u);
    }
    EXPECT_EQ(sizeof g_mediaTypes, 19u * 5u);
}

TEST(FileSizeToFloat, ExactUpTo2To24)
{
    EXPECT_EQ(FileSizeToFloat(0), 0.0f);
    EXPECT_EQ(FileSizeToFloat(1), 1.0f);
    EXPECT_EQ(FileSizeToFloat(1234567), 1234567.0f);
    EXPECT_EQ(FileSizeToFloat(16777215), 16777215.0f);
    EXPECT_EQ(FileSizeToFloat(16777216), 16777216.0f);
}

TEST(FileSizeToFloat, NearestAbove2To24)
{
    EXPECT_EQ(FileSizeToFloat(16777217), 16777216.0f);  // tie, to even
    EXPECT_EQ(FileSizeToFloat(16777218), 16777218.0f);
    EXPECT_EQ(FileSizeToFloat(16777219), 16777220.0f);  // tie, to even
    EXPECT_EQ(FileSizeToFloat(123456789), 123456792.0f);
    EXPECT_EQ(FileSizeToFloat(0xFFFFFFFFull), 4294967296.0f);
    EXPECT_EQ(FileSizeToFloat(0x100000000ull), 4294967296.0f);       // 4 GiB
    EXPECT_EQ(FileSizeToFloat(5000000000ull), 5000000000.0f);        // above 4 GiB
    EXPECT_EQ(FileSizeToFloat(0x1FFFFFF00000000ull), 144115183814443008.0f);
    EXPECT_EQ(FileSizeToFloat(UINT64_MAX), 18446744073709551616.0f);
}

TEST(FileSizeToFloat, MatchesFloatConversion)
{
    // Natively the compiler's conversion rounds once; the two must agree.
    for (std::uint64_t v = 16777000; v < 16800000; v += 7)
        EXPECT_EQ(FileSizeToFloat(v), static_cast<float>(v)) << v;
    for (std::uint64_t v = 1; v != 0 && v < (std::uint64_t(1) << 62); v = v * 3 + 1)
        EXPECT_EQ(FileSizeToFloat(v), static_cast<float>(v)) << v;
}

TEST(ElapsedSeconds, Basics)
{
    EXPECT_EQ(ElapsedSeconds(0, 0), 0.0f);
    EXPECT_EQ(ElapsedSeconds(123456789, 0), 0.0f);  // never started
    EXPECT_EQ(ElapsedSeconds(0, 10000000), 0.0f);
    EXPECT_EQ(ElapsedSeconds(10000000, 10000000), 1.0f);
    EXPECT_EQ(ElapsedSeconds(5000000, 10000000), 0.5f);
    EXPECT_FLOAT_EQ(ElapsedSeconds(36000000000ull, 10000000), 3600.0f);
    EXPECT_EQ(ElapsedSeconds(1, 3), static_cast<float>(1.0 / 3.0));
}

}  // namespace
