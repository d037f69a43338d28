#pragma once

// The ids of the string table, by name. The table (StringTable.cpp) gives each one its text;
// a compile-time check there keeps the two in step. Calls name strings by these, never by
// number. Column titles and the prompts of the sort and copy commands are numbered from
// kFirstColumnTitleId, kFirstSortCommand and kFirstCopyCommand (AlbumColumns.h).

// X(name, id), ascending by id.
#define PICTAVO_STRING_IDS(X)        \
  X(SmallIcons, 10084)               \
  X(LargeIcons, 10085)               \
  X(TextOnRight, 10086)              \
  X(NoTextOnButtons, 10087)          \
  X(TextOnButtons, 10088)            \
  X(SelectFolderToAdd, 10131)        \
  X(SelectStartupFolder, 10133)      \
  X(SelectOutputFolder, 10134)       \
  X(InsertingSuffix, 10141)          \
  X(SortingItems, 10143)             \
  X(OutputtingItems, 10144)          \
  X(CheckingForUpdates, 10145)       \
  X(Daily, 10181)                    \
  X(Weekly, 10182)                   \
  X(Monthly, 10183)                  \
  X(UpdateKind, 10191)               \
  X(UpdateDescription, 10192)        \
  X(UpdateNewFeatures, 10193)        \
  X(UpdateChanges, 10194)            \
  X(UpdateFixes, 10195)              \
  X(ShownItemCount, 10201)           \
  X(CheckedItemCount, 10202)         \
  X(FileLoaded, 10221)               \
  X(FileSaved, 10222)                \
  X(OutputDone, 10223)               \
  X(SelectItems, 10231)              \
  X(UpdateCheckFailed, 10232)        \
  X(DropFolder, 10233)               \
  X(EnterField, 10234)               \
  X(FolderExists, 10240)             \
  X(UpdateNotInstalled, 10251)       \
  X(HelpNotFound, 10252)             \
  X(OutputFailed, 10253)             \
  X(OpenOutputFailed, 10254)         \
  X(ConfirmOutput, 10261)            \
  X(NewVersionAvailable, 10263)      \
  X(OutputCancelled, 10270)          \
  X(LatestVersion, 10281)            \
  X(NewestVersionIs, 10282)          \
  X(SortMenuTitle, 10301)            \
  X(CopyMenuTitle, 10302)            \
  X(FileWord, 10321)                 \
  X(MutexNameFormat, 10323)          \
  X(ExposureUndefined, 10331)        \
  X(ExposureManual, 10332)           \
  X(ExposureNormal, 10333)           \
  X(ExposureAperturePriority, 10334) \
  X(ExposureShutterPriority, 10335)  \
  X(ExposureCreative, 10336)         \
  X(ExposureAction, 10337)           \
  X(ExposurePortrait, 10338)         \
  X(ExposureLandscape, 10339)        \
  X(DefaultPageTitle, 10411)         \
  X(DefaultPageHeader, 10412)        \
  X(DefaultCopyright, 10413)         \
  X(PoweredBy, 10414)                \
  X(PrevLink, 10421)                 \
  X(NextLink, 10422)                 \
  X(ThumbnailPageLink, 10423)        \
  X(HomePageLink, 10424)             \
  X(HomePageUrlPrefix, 10425)        \
  X(NotesFileFilter, 10511)          \
  X(PrevButton, 10551)               \
  X(NextButton, 10552)               \
  X(PlayButton, 10553)               \
  X(PauseButton, 10554)              \
  X(SizeOriginal, 10631)             \
  X(SizeLarge, 10632)                \
  X(SizeMedium, 10633)               \
  X(SizeSmall, 10634)                \
  X(SizeCustom, 10635)               \
  X(LinkPhotoPage, 10721)            \
  X(LinkPhoto, 10722)                \
  X(LinkNothing, 10723)              \
  X(StartupSpecificFolder, 11001)    \
  X(StartupBlankAddress, 11002)      \
  X(StartupRestoreLast, 11003)       \
  X(HomePageUrl, 11011)              \
  X(LinkFormat, 11012)               \
  X(DialogFontName, 11022)           \
  X(PropertyAperture, 12001)         \
  X(PropertyExposureTime, 12002)     \
  X(PropertyIsoSpeed, 12003)         \
  X(PropertyFocalLength, 12004)      \
  X(PropertyLens, 12005)             \
  X(ExecutePrompt, 32791)            \
  X(ApplicationTitle, 57344)         \
  X(F1HelpPrompt, 57345)             \
  X(SizeGripPrompt, 61184)

namespace pictavo {

enum class StringId : int {
#define PICTAVO_STRING_ID_ENUMERATOR(name, id) name = id,
  PICTAVO_STRING_IDS(PICTAVO_STRING_ID_ENUMERATOR)
#undef PICTAVO_STRING_ID_ENUMERATOR
};

// Every id above, in the same order.
inline constexpr StringId kAllStringIds[] = {
#define PICTAVO_STRING_ID_ELEMENT(name, id) StringId::name,
    PICTAVO_STRING_IDS(PICTAVO_STRING_ID_ELEMENT)
#undef PICTAVO_STRING_ID_ELEMENT
};

}  // namespace pictavo
