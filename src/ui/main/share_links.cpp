#include "ui/main/share_links.h"

#include <QUrl>
#include <initializer_list>
#include <utility>

namespace forge::ui {
namespace {

// "base?key=value&key=value" with each value percent-encoded; the keys stand as they are.
std::string Link(const char* base, std::initializer_list<std::pair<const char*, QString>> query) {
  std::string link = base;
  char separator = '?';
  for (const auto& [key, value] : query) {
    link += separator;
    link += key;
    link += '=';
    link += QUrl::toPercentEncoding(value).toStdString();
    separator = '&';
  }
  return link;
}

}  // namespace

std::map<std::string, std::vector<std::string>> MakeShareLinks(const QString& productPage) {
  constexpr const char* kFacebook = "https://www.facebook.com/sharer.php";
  constexpr const char* kTwitter = "https://twitter.com/intent/tweet";
  const std::pair<const char*, const char*> facebookTexts[] = {
      {"Have a Try at Norvessa Image Forge Free!",
       "Free ISO image tool to help you create, extract, and burn ISO files on PC."},
      {"Get Norvessa Image Forge Free Now!",
       "I downloaded this free program to create ISO file from my disk. Worth your try."},
      {"Want to Create, Extract or Burn ISO File?",
       "Get Norvessa Image Forge Free to help you finish the tasks with ease."},
  };
  const char* twitterTexts[] = {
      "I strongly recommend Norvessa Image Forge Free - worth looking at.",
      "Ever tried Norvessa Image Forge Free? Create/Extract/Burn ISO files easily.",
      "Try Norvessa Image Forge Free. It helps me create ISO file from my disk easily.",
  };

  std::map<std::string, std::vector<std::string>> links;
  for (const auto& [title, summary] : facebookTexts) {
    links["facebook"].push_back(Link(kFacebook, {{"s", QStringLiteral("100")},
                                                 {"p[title]", QString::fromUtf8(title)},
                                                 {"p[summary]", QString::fromUtf8(summary)},
                                                 {"p[url]", productPage}}));
  }
  for (const char* text : twitterTexts) {
    links["twitter"].push_back(
        Link(kTwitter, {{"text", QString::fromUtf8(text)}, {"url", productPage}}));
  }
  links["google"].push_back(Link("https://plus.google.com/share", {{"url", productPage}}));
  // The program has no video of its own; the video site's search shows what there is about it.
  links["youtube"].push_back(Link("https://www.youtube.com/results",
                                  {{"search_query", QStringLiteral("Norvessa Image Forge")}}));
  return links;
}

}  // namespace forge::ui
