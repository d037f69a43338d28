#include "album/Navigation.h"

#include <algorithm>

#include "album/HtmlFuncs.h"
#include "core/PathUtils.h"
#include "core/StringUtils.h"

namespace pictavo::Navigation {

namespace {

using namespace HtmlFuncs;

constexpr StringId kPrevLinkText = StringId::PrevLink;
constexpr StringId kNextLinkText = StringId::NextLink;
constexpr StringId kPrevButtonText = StringId::PrevButton;
constexpr StringId kNextButtonText = StringId::NextButton;

std::string LinkText(StringId id) {
  return EncodeUtils::GetTextToEntityString(StringUtils::GetLoadString(id));
}

std::string Href(const std::string& fileName) {
  return EncodeUtils::GetTextToEncodeString(fileName);
}

std::string ButtonText(const std::string& kind) {
  return StringUtils::GetLoadString(kind == "prev" ? kPrevButtonText : kNextButtonText);
}

// Opens the one-row link tables; id keeps each table's id unique on a page.
void AddLinkTableOpening(PageLines& lines, const std::string& id, const std::string& cls,
                         bool rowCrLf) {
  lines.Add(3, GetTableTag(id, cls));
  lines.Add(4, GetTbodyTag());
  lines.Add(5, GetTrTag("link"), rowCrLf);
}

void AddLinkTableClosing(PageLines& lines) {
  lines.Add(5, GetTrClosingTag(), true);
  lines.Add(4, GetTbodyClosingTag());
  lines.Add(3, GetTableClosingTag());
}

}  // namespace

std::string GetThumbnailPageFileName(const Settings& settings, int page) {
  if (page <= 1) return settings.Output.FileName + ".html";
  return settings.Output.PageFileName + std::to_string(page) + ".html";
}

std::string GetPhotoPageFileName(const Settings& settings, int page) {
  return settings.Output.PageFileName + std::to_string(page) + ".html";
}

int GetNaviCount(const Settings& settings) {
  return std::max(1, settings.OutputPage.NaviCount);
}

PageWindow GetPhotoPageWindow(int index, int count, int naviCount) {
  const int n = std::max(1, naviCount);
  if (count < n) return {1, count};
  if (index <= n - 5) return {1, n};
  const int first = std::min(count - n, index + 5 - n);
  return {first + 1, first + n};
}

std::string GetThumbnailPageLinks(const Settings& settings, int pageCount, int page, Pump& pump) {
  PageLines lines;
  AddLinkTableOpening(lines, "link", "table-link-page", true);
  lines.Add(6, GetTdTag("left"));
  if (page <= 1) {
    lines.Add(GetBrTag(0));
  } else {
    lines.Add(GetAPairTag(Href(GetThumbnailPageFileName(settings, page - 1)), "page-link prevpage",
                          LinkText(kPrevLinkText)));
  }
  lines.Add(0, GetTdClosingTag(), true);
  for (int k = 1; k <= pageCount; ++k) {
    if (!pump.PumpMessages()) break;
    lines.Add(4, GetTdTag("center"));
    const std::string number = std::to_string(k);
    if (k == page) {
      lines.Add(GetSpanPairTag("page_current", number, 0));
    } else {
      lines.Add(GetAPairTag(Href(GetThumbnailPageFileName(settings, k)), "page-link page", number));
    }
    lines.Add(0, GetTdClosingTag(), true);
  }
  lines.Add(6, GetTdTag("right"));
  if (page < pageCount) {
    lines.Add(GetAPairTag(Href(GetThumbnailPageFileName(settings, page + 1)), "page-link nextpage",
                          LinkText(kNextLinkText)));
  } else {
    lines.Add(GetBrTag(0));
  }
  lines.Add(0, GetTdClosingTag(), true);
  if (pageCount > 1) {
    lines.Add(6, GetTdTag("right"));
    lines.Add(GetSpanPairTag("page_current_string",
                             "(" + std::to_string(page) + "/" + std::to_string(pageCount) + ")",
                             0));
    lines.Add(0, GetTdClosingTag(), true);
  }
  AddLinkTableClosing(lines);
  return lines.Join();
}

std::string GetPhotoPageNumberLinks(const Settings& settings, int index, int count, Pump& pump) {
  PageLines lines;
  AddLinkTableOpening(lines, "link", "table-link", true);
  lines.Add(6, GetTdTag("left"));
  if (index < 1) {
    lines.Add(GetBrTag(0));
  } else {
    lines.Add(GetAPairTag(Href(GetPhotoPageFileName(settings, index)), "page-link prevpage",
                          LinkText(kPrevLinkText)));
  }
  lines.Add(0, GetTdClosingTag(), true);
  const PageWindow window = GetPhotoPageWindow(index, count, GetNaviCount(settings));
  for (int p = window.first; p <= window.last; ++p) {
    if (!pump.PumpMessages()) break;
    lines.Add(6, GetTdTag("center"));
    const std::string number = std::to_string(p);
    if (p == index + 1) {
      lines.Add(GetSpanPairTag("numpage_current", number, 0));
    } else {
      lines.Add(GetAPairTag(Href(GetPhotoPageFileName(settings, p)), "page-link numpage", number));
    }
    lines.Add(0, GetTdClosingTag(), true);
  }
  lines.Add(6, GetTdTag("right"));
  if (index + 1 >= count) {
    lines.Add(GetBrTag(0));
  } else {
    lines.Add(GetAPairTag(Href(GetPhotoPageFileName(settings, index + 2)), "page-link nextpage",
                          LinkText(kNextLinkText)));
  }
  lines.Add(0, GetTdClosingTag(), true);
  AddLinkTableClosing(lines);
  return lines.Join();
}

std::string GetPhotoPageButtonCell(const Settings& settings, int index, int count,
                                   const std::string& kind) {
  const bool prev = kind == "prev";
  const bool disabled = prev ? index < 1 : index >= count - 1;
  const std::string imageName = kind + (disabled ? "-disabled" : "");
  const std::string text = ButtonText(kind);
  const std::string image = GetImgTag(
      "../" + PathUtils::GetImagesFolderName() + "/" + imageName + ".png",
      disabled ? "button-navi disabled" : "button-navi", 32, 32, text, "button-" + kind, text);
  PageLines lines;
  lines.Add(6, GetTdTag("navi-" + kind + "-contents"));
  if (disabled) {
    lines.Add(image);
  } else {
    const int target = prev ? index : index + 2;
    lines.Add(GetAPairTag(Href(GetPhotoPageFileName(settings, target)), "navi-" + kind, image));
  }
  lines.Add(0, GetTdClosingTag(), true);
  return lines.Join();
}

std::string GetSlideshowButtonCell(const std::string& kind) {
  const std::string text = ButtonText(kind);
  const std::string image = GetImgTag("./" + PathUtils::GetImagesFolderName() + "/" + kind + ".png",
                                      "button-navi", 32, 32, text, "button-" + kind, text);
  PageLines lines;
  lines.Add(6, GetTdTag("navi-" + kind + "-contents"));
  lines.Add(GetSpanPairTag("navi-" + kind, "navi-" + kind, image, 0));
  lines.Add(0, GetTdClosingTag(), true);
  return lines.Join();
}

std::string GetTopPageLink(const Settings& settings, const std::string& firstPageName) {
  PageLines lines;
  AddLinkTableOpening(lines, "link-top-page", "table-link-top-page", false);
  lines.Add(GetTdTag("center"));
  lines.Add(GetAPairTag("../" + Href(firstPageName), "page-link toppage",
                        EncodeUtils::GetTextToEntityString(settings.OutputPage.LinkThumbnailPage)));
  lines.Add(GetTdClosingTag());
  lines.Add(0, GetTrClosingTag(), true);
  lines.Add(4, GetTbodyClosingTag());
  lines.Add(3, GetTableClosingTag());
  return lines.Join();
}

std::string GetHomePageLink(const Settings& settings) {
  PageLines lines;
  AddLinkTableOpening(lines, "link-homepage", "table-link-homepage", false);
  lines.Add(GetTdTag());
  lines.Add(GetAPairTag(settings.OutputPage.LinkHomePageURL, "page-link homepage",
                        EncodeUtils::GetTextToEntityString(settings.OutputPage.LinkHomePage)));
  lines.Add(GetTdClosingTag());
  lines.Add(0, GetTrClosingTag(), true);
  lines.Add(4, GetTbodyClosingTag());
  lines.Add(3, GetTableClosingTag());
  return lines.Join();
}

}  // namespace pictavo::Navigation
