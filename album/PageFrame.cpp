#include "album/PageFrame.h"

#include <vector>

#include "album/OutputFuncs.h"
#include "album/OutputRun.h"
#include "core/FileUtils.h"
#include "core/PathUtils.h"
#include "core/StringUtils.h"

namespace pictavo::PageFrame {

namespace {

using namespace HtmlFuncs;

constexpr StringId kPoweredByText = StringId::PoweredBy;

}  // namespace

std::string GetStyleSheetLink(const std::string& fileName, const std::string& prefix) {
  return GetLinkCSSTag(prefix + PathUtils::GetCSSFolderName() + "/" + fileName);
}

std::vector<std::string> GetStyleSheets(PageKind kind, const std::string& designStyleSheet) {
  switch (kind) {
    case PageKind::Thumbnail:
      return {"common.css", "thumb.css", designStyleSheet};
    case PageKind::Photo:
      return {"common.css", designStyleSheet, "photo.css", "property.css"};
    case PageKind::Slideshow:
      return {"common.css", designStyleSheet, "photo.css", "slideshow.css"};
  }
  return {};
}

std::string GetPageHeader(const std::string& title) {
  PageLines lines;
  lines.Add(1, GetHeaderTag("header", "header"), true);
  lines.Add(2, GetDivTag("header-inner"), true);
  lines.Add(3, GetDivTag("header-title"), true);
  lines.Add(4, GetH1PairTag("title", title));
  lines.Add(3, GetDivClosingTag(1));
  lines.Add(2, GetDivClosingTag(1));
  lines.Add(1, GetHeaderClosingTag());
  return lines.Join();
}

std::string GetPageFooter(const Settings& settings) {
  PageLines lines;
  lines.Add(1, GetFooterTag("footer", "footer"), true);
  lines.Add(2, GetDivTag("footer-inner"), true);
  lines.Add(3, GetDivPairTag("footer-copyright", settings.OutputPage.FooterCopyright, 1));
  lines.Add(3, GetDivPairTag("footer-powered-by", StringUtils::GetLoadString(kPoweredByText), 1));
  lines.Add(2, GetDivClosingTag(1));
  lines.Add(1, GetFooterClosingTag());
  return lines.Join();
}

void AddPageOpening(PageLines& lines, PageKind kind, const std::string& title,
                    const std::string& designStyleSheet, const std::string& scriptSrc) {
  const std::string prefix = kind == PageKind::Photo ? "../" : "";
  lines.Add(GetDoctypeTag());
  lines.Add(GetHtmlTag("ja"));
  lines.Add(GetHeadTag());
  lines.Add(GetMetaXUACompatibleTag("Edge"));
  lines.Add(GetMetaContentTypeTag("utf-8"));
  lines.Add(GetMetaViewportTag());
  lines.Add(GetMetaGeneratorTag(OutputFuncs::GetGeneratorOutputString()));
  for (const auto& sheet : GetStyleSheets(kind, designStyleSheet)) {
    lines.Add(GetStyleSheetLink(sheet, prefix));
  }
  if (kind == PageKind::Slideshow) {
    lines.Add(GetScriptSrcPairTag(scriptSrc));
  } else {
    lines.Add(
        GetScriptSrcPairTag(prefix + PathUtils::GetJSFolderName() + "/" + kPageScriptFileName));
  }
  lines.Add(GetTitleTag(title));
  lines.Add(GetHeadClosingTag());
  lines.Add(GetBodyTag());
  lines.Add(GetPageHeader(title));
  lines.Add(1, GetDivTag("container", "container"), true);
  lines.Add(2, GetDivTag("grid"), true);
}

bool CopyPageScript(const std::string& designFolder, const std::string& albumFolder) {
  const std::string js = PathUtils::GetJSFolderName();
  const std::string source =
      FileUtils::GetCombinePath(FileUtils::GetCombinePath(designFolder, js), kPageScriptFileName);
  if (!FileUtils::FileExists(source)) return false;
  const std::string folder = FileUtils::GetCombinePath(albumFolder, js);
  if (!FileUtils::IsDirectory(folder) && !FileUtils::CreateFolderPathExists(folder)) return false;
  return FileUtils::CopyFile(source, FileUtils::GetCombinePath(folder, kPageScriptFileName));
}

void AddPageClosing(PageLines& lines, const Settings& settings) {
  lines.Add(2, GetDivClosingTag(1));
  lines.Add(1, GetDivClosingTag(1));
  lines.Add(GetPageFooter(settings));
  lines.Add(GetBodyClosingTag());
  lines.Add(GetHtmlClosingTag());
}

}  // namespace pictavo::PageFrame
