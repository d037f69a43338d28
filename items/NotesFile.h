#pragma once

// Notes files (*.dat): one line per item with a note, `"path","note",` and CR LF, UTF-8 with a
// byte-order mark that is written only together with the first line (no notes: a 0-byte file).
// Both fields are entity-encoded, so a line never holds a raw comma, quote or line break; the
// reader still splits quote-aware (a "" inside quotes is one quote) for files edited by hand.
// Reading accepts UTF-8 with or without the mark and UTF-16LE with FF FE.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pictavo {

class Host;
class ItemList;

namespace NotesFormat {

// & < > " , CR and LF as entities; everything else, invalid UTF-8 included, is kept as is.
std::string EncodeText(const std::string& text);
// The inverse: named (amp lt gt quot apos) and numeric (&#10; &#x2C;) entities. Anything that is
// not a well-formed entity stays literal.
std::string DecodeText(const std::string& text);

// `"path","note",` followed by CR LF.
std::string FormatLine(const std::string& path, const std::string& note);
// Fields at commas outside double quotes, enclosing quotes removed and "" inside them made one.
std::vector<std::string> SplitFields(const std::string& line);
// Path and note of one line; false for a line with fewer than two fields or an empty path.
bool ParseLine(const std::string& line, std::string* path, std::string* note);

// The file's bytes as UTF-8 text without the byte-order mark.
std::string DecodeFileBytes(const std::string& bytes);
// The name of an encoding the file is in that we do not read (UTF-16BE, UTF-32, UTF-16 without
// its mark, a code page: no mark and not UTF-8); empty for UTF-8 with the mark (whatever bytes
// follow), valid UTF-8 without it, and UTF-16LE with FF FE.
std::string GetUnreadEncoding(const std::string& bytes);
// Lines split at LF, a CR at the end of a line dropped.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace NotesFormat

// Writes every row's non-empty note, top to bottom. On failure the system's error text is shown
// and false returned. A quit that arrives meanwhile abandons the save before the file is
// touched, so an earlier notes file is never cut short.
bool SaveNotesFile(const ItemList& list, const std::string& path, Host& host);

struct NotesLoadCount {
  int notes = 0;    // lines that hold a note
  int matched = 0;  // of them, the ones that named a listed item
};

// Gives each line's note to the first row whose item has exactly that path; rows that no line
// names keep their notes, lines that name no row are ignored (and counted in *count). Anything
// but a regular file, a file over 256 MB and a file in an encoding we do not read are refused
// before a note changes. On failure the reason is shown and false returned. A quit ends the loading
// (false).
bool LoadNotesFile(ItemList& list, const std::string& path, Host& host,
                   NotesLoadCount* count = nullptr);

// The file chooser is the front end's: it returns the chosen path, or nothing when cancelled.
using NotesPathChooser = std::function<std::optional<std::string>()>;

// "項目を選択してください。" when no row is ticked; true when a row is.
bool CheckNotesTicks(const ItemList& list, Host& host);
// The load and save commands: tick check, chooser, file, then the completion message
// ("ファイルの読み込みが完了しました。" / "ファイルの保存が完了しました。"). A missing file to
// load and a cancelled chooser end the command silently.
bool LoadNotesCommand(ItemList& list, Host& host, const NotesPathChooser& choosePath);
bool SaveNotesCommand(const ItemList& list, Host& host, const NotesPathChooser& choosePath);

}  // namespace pictavo
