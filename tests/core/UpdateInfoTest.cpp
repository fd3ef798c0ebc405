// Reading the update-information file's text: the number that decides
// whether an update is announced, and the text shown with it.
#include <gtest/gtest.h>

#include <string>

#include "components/UpdateInfo.h"

namespace corvane {
namespace {

TEST(UpdateInfoText, TheAnnouncedNumberIsComparedWithTheProgramsOwn) {
  UpdateFileInfo newer =
      ParseUpdateInfo("[Updates]\r\ncorvane=112\r\nnewcorvane=http://host/get?x=1\r\n");
  EXPECT_EQ(newer.newest, 112);
  EXPECT_EQ(newer.downloadPage, "http://host/get?x=1");
  EXPECT_TRUE(IsUpdateAvailable(newer, 111));
  EXPECT_FALSE(IsUpdateAvailable(ParseUpdateInfo("[Updates]\ncorvane=111\n"), 111));
  EXPECT_FALSE(IsUpdateAvailable(ParseUpdateInfo("[Updates]\ncorvane=110\n"), 111));
}

TEST(UpdateInfoText, MissingKeysCountAsUpdateOne) {
  for (const char* text : {"", "[Updates]\n", "[Updates]\nnewcorvane=x\n", "[Other]\ncorvane=500\n",
                           "corvane=500\n[Updates]\n", "<html>Not Found</html>"}) {
    UpdateFileInfo info = ParseUpdateInfo(text);
    EXPECT_EQ(info.newest, 1) << text;
    EXPECT_FALSE(IsUpdateAvailable(info, 1)) << text;
  }
  EXPECT_EQ(ParseUpdateInfo("[Updates]\ncorvane=2\n").downloadPage, "");
}

TEST(UpdateInfoText, NamesMatchWithoutCaseAndOnlyInTheirSection) {
  EXPECT_EQ(ParseUpdateInfo("[updates]\nCORVANE=300\n").newest, 300);
  EXPECT_EQ(ParseUpdateInfo("[ Updates ]\n  Corvane  =  301  \n").newest, 301);
  EXPECT_EQ(
      ParseUpdateInfo("[Old]\ncorvane=900\n[Updates]\ncorvane=302\n[Later]\ncorvane=901\n").newest,
      302);
  // A key of a similar name is another key.
  EXPECT_EQ(ParseUpdateInfo("[Updates]\ncorvane2=700\ncorvanex=701\n").newest, 1);
  // The first of two equal keys is the one read.
  EXPECT_EQ(ParseUpdateInfo("[Updates]\ncorvane=303\ncorvane=999\n").newest, 303);
  EXPECT_EQ(ParseUpdateInfo("[Updates]\n;corvane=999\ncorvane=304").newest, 304);
}

TEST(UpdateInfoText, ValuesReadAsTheProfileLayerReadsThem) {
  EXPECT_EQ(ParseUpdateInfo("[Updates]\ncorvane=\"305\"\n").newest, 305);
  EXPECT_EQ(ParseUpdateInfo("[Updates]\ncorvane=0x7B\n").newest, 123);
  EXPECT_EQ(ParseUpdateInfo("[Updates]\nnewcorvane=  'see the site'  \n").downloadPage,
            "see the site");
  EXPECT_EQ(ParseUpdateInfo("[Updates]\nnewcorvane=\"unbalanced\n").downloadPage, "\"unbalanced");
  EXPECT_EQ(ParseUpdateInfo("\xEF\xBB\xBF[Updates]\r\ncorvane=306\r\n").newest, 306);
  EXPECT_EQ(ParseUpdateInfo("[Updates]\rcorvane=1\n[Updates]\ncorvane=307").newest, 307);
}

TEST(UpdateInfoText, NumbersThatAreNotNumbersFallBack) {
  EXPECT_EQ(ProfileInteger("42", 1), 42);
  EXPECT_EQ(ProfileInteger("-3", 1), -3);
  EXPECT_EQ(ProfileInteger("+8", 1), 8);
  EXPECT_EQ(ProfileInteger("0x", 1), 1);
  EXPECT_EQ(ProfileInteger("0X1f", 1), 31);
  EXPECT_EQ(ProfileInteger("0xFFFFFFFF", 1), -1);
  EXPECT_EQ(ProfileInteger("0x100000000", 1), 1);
  EXPECT_EQ(ProfileInteger("12a", 1), 1);
  EXPECT_EQ(ProfileInteger("", 5), 5);
  EXPECT_EQ(ProfileInteger("-", 5), 5);
  EXPECT_EQ(ProfileInteger("2147483647", 1), 2147483647);
  EXPECT_EQ(ProfileInteger("2147483648", 1), 1);
  EXPECT_EQ(ProfileInteger("-2147483648", 1), -2147483647 - 1);
  EXPECT_EQ(ProfileInteger("99999999999999999999", 1), 1);
  EXPECT_EQ(ParseUpdateInfo("[Updates]\ncorvane=lots\n").newest, 1);
}

}  // namespace
}  // namespace corvane
