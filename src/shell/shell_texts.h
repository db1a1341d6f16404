#pragma once
// The shell's own texts: titles, file filters, and the prompts and refusals it
// builds from a verb phrase and an object's label.
#include <cstdint>
#include <string>

#include "platform/messages.h"

namespace meridal {

inline constexpr const char* kAppTitle = "Meridal";
// The name of a document that has never been saved.
inline constexpr const char* kNewFileName = "noname.mrd";
inline constexpr const char* kProjectExtension = "*.mrd";
inline constexpr const char* kProjectFilter = "Meridal Files (*.mrd)|*.mrd";
// Open reads all three formats, and shows them all at first.
inline constexpr const char* kOpenFilter =
    "Track files (*.mrd *.json *.trk)|*.mrd;*.json;*.trk|Meridal Files (*.mrd)|*.mrd|"
    "JSON Track Files (*.json)|*.json|Sorvan Track Files (*.trk)|*.trk";
// Save As writes a project or a JSON text.
inline constexpr const char* kSaveAsFilter = "Meridal Files (*.mrd)|*.mrd|JSON Track Files (*.json)|*.json";
inline constexpr const char* kTrackExtension = "*.trk";
inline constexpr const char* kTrackFilter = "Sorvan Track Files (*.trk)|*.trk";
// The title's note on a document read all the same from a damaged file.
inline constexpr const char* kDamagedNote = "(damaged)";
// The title of the Export dialog (the others take the platform's own).
inline constexpr const char* kExportTitle = "Export Track File";
// What Save, Save As and Export say when the file cannot be opened or created.
inline constexpr const char* kCannotOpenFile = "Unable to open file!";
// What Save and Save As say when the project file cannot be written.
inline constexpr const char* kCannotWriteFile = "Unable to write";

// "%s %s ?": "Remove" and "Section 1 (straight)" give "Remove Section 1 (straight) ?".
std::string QuestionText(const std::string& verb, const std::string& label);
// "%s %s !": "Cannot remove" and "Wall 0" give "Cannot remove Wall 0 !".
std::string RefusalText(const std::string& verb, const std::string& label);
// "Save changes to  NAME ?": the verb phrase ends in a blank, so two blanks precede the name.
std::string SaveChangesText(const std::string& fileName);
// The export dialog's proposed name: the last three characters become "trk" when
// the name is longer than three characters ("noname.mrd" gives "noname.trk").
std::string ExportNameProposal(const std::string& fileName);

// The last part of a path: "tracks/circuit.mrd" gives "circuit.mrd".
std::string FileNameOf(const std::string& path);
// A count with a comma between groups of three digits: 1234 gives "1,234".
std::string GroupedCount(uint64_t n);

// The status bar after a command: "Saved circuit.mrd"; a save that had to write
// the file in place says so.
std::string SavedText(const std::string& path, bool inPlace);
// "Exported circuit.trk (1,234 bytes)", or, for a track whose loop is open,
// "Exported; the track has 3 gaps (see View > Track Check)".
std::string ExportedText(const std::string& path, uint64_t bytes, size_t gaps);

// The question after a Save that the disk refused: "Save circuit.mrd under
// another name ?"
std::string SaveElsewhereText(const std::string& path);

// A Yes/No question titled "Meridal"; true for Yes.
bool AskYesNo(IMessages& messages, const std::string& text);
// An error box titled "Meridal" with an OK button.
void ShowRefusal(IMessages& messages, const std::string& text);
// An information box titled "Meridal" with an OK button.
void ShowInformation(IMessages& messages, const std::string& text);

}  // namespace meridal
