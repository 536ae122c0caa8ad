// The sharing buttons and the advert of the welcome page, and the sharing links themselves.
#include <gtest/gtest.h>

#include <QUrl>
#include <QUrlQuery>
#include <algorithm>
#include <set>

#include "ui/main/main_window_fixture.h"
#include "ui/main/share_links.h"
#include "ui/popups/help_pages.h"
#include "ui/support/ui_test_support.h"

namespace forge::ui::test {
namespace {

// Whatever the shared address holds, the links are valid addresses that hand it over intact.
TEST(ShareLinks, AreValidAddressesThatCarryTheSharedPageIntact) {
  const QString page = QStringLiteral("file:///home/R&D team/guide #2.html?x=1+2");
  const auto links = MakeShareLinks(page);
  struct Case {
    const char* service;
    std::size_t count;
    const char* prefix;
    QStringList keys;
    const char* pageKey;  // the key carrying the page, or null
  };
  const Case cases[] = {
      {"facebook", 3, "https://www.facebook.com/sharer.php?",
       {"s", "p[title]", "p[summary]", "p[url]"}, "p[url]"},
      {"twitter", 3, "https://twitter.com/intent/tweet?", {"text", "url"}, "url"},
      {"google", 1, "https://plus.google.com/share?", {"url"}, "url"},
      {"youtube", 1, "https://www.youtube.com/", {"search_query"}, nullptr},
  };
  ASSERT_EQ(links.size(), std::size(cases));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.service);
    ASSERT_EQ(links.at(c.service).size(), c.count);
    for (const std::string& link : links.at(c.service)) {
      SCOPED_TRACE(link);
      EXPECT_EQ(link.rfind(c.prefix, 0), 0u);
      EXPECT_EQ(link.find(' '), std::string::npos);
      const QUrl url = QUrl::fromEncoded(QByteArray::fromStdString(link), QUrl::StrictMode);
      ASSERT_TRUE(url.isValid());
      EXPECT_TRUE(url.fragment().isEmpty());
      const QUrlQuery query(url);
      QStringList keys;
      for (const auto& [key, value] : query.queryItems(QUrl::FullyDecoded)) keys << key;
      EXPECT_EQ(keys, c.keys);
      if (c.pageKey) {
        EXPECT_EQ(query.queryItemValue(QString::fromUtf8(c.pageKey), QUrl::FullyDecoded), page);
      }
    }
  }
  EXPECT_EQ(QUrlQuery(QUrl(QString::fromStdString(links.at("twitter")[1])))
                .queryItemValue(QStringLiteral("text"), QUrl::FullyDecoded),
            QStringLiteral(
                "Ever tried Norvessa Image Forge Free? Create/Extract/Burn ISO files easily."));
}

TEST_F(MainWindowTest, SharingButtonsOpenTheirLinks) {
  Start(SeedWithParity(false));
  const auto& links = Window().ShareLinks();
  // The shared page is the user guide that ships with the program.
  const QString guide = QUrl::fromLocalFile(QString::fromStdString(UserGuidePage().string())).toString();
  EXPECT_EQ(QUrlQuery(QUrl(QString::fromStdString(links.at("google")[0])))
                .queryItemValue(QStringLiteral("url"), QUrl::FullyDecoded),
            guide);

  struct Case {
    const char* button;
    const char* service;
    bool random;
  };
  const Case cases[] = {
      {"BtnGoogle", "google", false},
      {"BtnYoutube", "youtube", false},
      {"BtnFacebook", "facebook", true},
      {"BtnTwitter", "twitter", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    const auto& serviceLinks = links.at(c.service);
    std::set<std::string> seen;
    // Seconds in a row: clicks within one second open the same link, and over a few seconds
    // every link of the service comes up.
    for (std::int64_t second = 1400000000; second < 1400000040; ++second) {
      Window().SetSecondsClock([second] { return second; });
      const auto before = opener_.Opened().size();
      Click(Window(), QString::fromUtf8(c.button));
      Click(Window(), QString::fromUtf8(c.button));
      const auto opened = opener_.Opened();
      ASSERT_EQ(opened.size(), before + 2);
      EXPECT_EQ(opened[before], opened[before + 1]);
      EXPECT_NE(std::find(serviceLinks.begin(), serviceLinks.end(), opened.back()),
                serviceLinks.end());
      seen.insert(opened.back());
    }
    EXPECT_EQ(seen.size(), c.random ? serviceLinks.size() : 1u);
  }
}

TEST_F(MainWindowTest, AdvertOpensTheUserGuide) {
  Start(SeedWithParity(true));
  Click(Window(), QStringLiteral("BtnADUrl"));
  EXPECT_EQ(opener_.Opened(), std::vector<std::string>{UserGuidePage().string()});
}

}  // namespace
}  // namespace forge::ui::test
