#pragma once
// The layout of the project file (*.mrd): "MRDL", the version word 1, a sealed
// header group holding the counts, a trace block of four sealed groups, then the
// altitude table (one group per record), the wall table and the section table
// (two groups per record), the section table ending at the end of the file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "files/safety/file_image.h"

namespace meridal {

inline constexpr char kProjectMagic[4] = {'M', 'R', 'D', 'L'};
constexpr int32_t kProjectVersion = 1;

constexpr size_t kProjectHeaderBytes = 40;  // magic, version, sealed header group
constexpr size_t kProjectHeaderGroupOffset = 8;
constexpr size_t kTraceBlockOffset = 40;
constexpr size_t kTraceBlockBytes = 128;
constexpr size_t kProjectTablesOffset = 168;
constexpr int kStoredTraces = 16;  // entries of the trace block

constexpr size_t kAltitudeRecordBytes = 32;
constexpr size_t kWallRecordBytes = 64;
constexpr size_t kSectionRecordBytes = 64;

// Header words.
constexpr int kHeaderTracesWord = 2;
constexpr int kHeaderSectionsWord = 5;

// The kind a section record's type word stands for: its low byte 1 is a straight,
// anything else a curve. The word itself is kept as it was read.
constexpr bool IsStraightType(int32_t type) { return (type & 0xFF) == 1; }

// Where a section record keeps its fields; Type is word 0 in both kinds. The
// straight record has no centre or curvature (-1).
struct SectionRecordLayout {
  int length, orientation, centerX, centerY, curvature, firstAltitude, numberOfWalls, firstWall;
};
constexpr SectionRecordLayout kStraightRecord{3, 6, -1, -1, -1, 9, 12, 15};
constexpr SectionRecordLayout kCurvedRecord{1, 3, 4, 6, 8, 10, 11, 13};

// The exact size of a file with these counts (traces, sections, walls of all
// sections), in 64 bits so that absurd counts cannot wrap.
constexpr int64_t ProjectFileSize(int64_t traces, int64_t sections, int64_t walls) {
  return static_cast<int64_t>(kProjectTablesOffset) + 32 * sections * traces + 64 * walls + 64 * sections;
}

// The messages of reading and writing, shown in a box titled "Error" (with
// kTrackReadError and kTrackWriteError of the file safety).
inline constexpr char kSectionReadError[] = "Section: Error reading file!";
inline constexpr char kAltitudeReadError[] = "Altitude: Error reading file!";
inline constexpr char kWallReadError[] = "Wall: Error reading file!";
inline constexpr char kNotProjectFile[] = "Not a MERIDAL File !";
inline constexpr char kWrongVersion[] = "Wrong file version !";
inline constexpr char kSectionWriteError[] = "Section: Error writing file!";
inline constexpr char kAltitudeWriteError[] = "Altitude: Error writing file!";
inline constexpr char kWallWriteError[] = "Wall: Error writing file!";

// A reader's message with numbers put in by printf's rules; 255 bytes at most.
template <typename... Args>
std::string ReaderText(const char* format, Args... args) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

}  // namespace meridal
