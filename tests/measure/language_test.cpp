#include "language.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace orv;

namespace {
LocaleSource Fixed(std::string system, std::string user, bool marker)
{
    LocaleSource s;
    s.systemLanguage = [system] { return system; };
    s.userLanguage = [user] { return user; };
    s.englishMarker = [marker] { return marker; };
    return s;
}
}  // namespace

TEST(Language, MainWindowFollowsSystemLocaleAndPagesFollowUserLocale)
{
    const auto src = Fixed("ja", "en", false);
    EXPECT_EQ(MainWindowLanguage(src), Language::Japanese);
    EXPECT_EQ(PageLanguage(src), Language::English);
    const auto rev = Fixed("de", "ja", false);
    EXPECT_EQ(MainWindowLanguage(rev), Language::English);
    EXPECT_EQ(PageLanguage(rev), Language::Japanese);
}

TEST(Language, MarkerForcesEnglishEverywhere)
{
    const auto src = Fixed("ja", "ja", true);
    EXPECT_EQ(MainWindowLanguage(src), Language::English);
    EXPECT_EQ(PageLanguage(src), Language::English);
}

TEST(Language, LocaleNamesReduceToTheirLanguage)
{
    EXPECT_EQ(LanguageOfLocaleName("ja_JP.UTF-8"), "ja");
    EXPECT_EQ(LanguageOfLocaleName("ja"), "ja");
    EXPECT_EQ(LanguageOfLocaleName("en_US@euro"), "en");
    EXPECT_EQ(LanguageOfLocaleName("C.UTF-8"), "c");
    EXPECT_EQ(LanguageOfLocaleName(""), "");
}

TEST(Language, MarkerCountsWhenItOpensWhateverItHolds)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_FALSE(EnglishMarkerPresent());
    QFile f(dir.filePath("english.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));  // empty file
    f.close();
    EXPECT_TRUE(EnglishMarkerPresent());
    EXPECT_TRUE(LocaleSource::FromPlatform().englishMarker());
    QDir::setCurrent(old);
    EXPECT_FALSE(EnglishMarkerPresent());
}
