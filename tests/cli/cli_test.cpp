// meridal-cli driven through its entry point: outputs, messages, exit codes, and
// files that stay untouched when a command is refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "cli/cli_fixture.h"
#include "support/terrain_models.h"
#include "files/project/project_io.h"
#include "support/recording_messages.h"
#include "support/track_builders.h"

#ifdef MERIDAL_CLI_RENDER
#include <QImage>
#include <QRect>
#include "graphics/profile_drawing.h"
#include <set>
#endif

namespace meridal {
namespace {

using cli_test::Bytes;
using cli_test::Cli;
using cli_test::Result;
using cli_test::RunCommand;
namespace fs = std::filesystem;

const std::string kLengthTakes = "Length takes a length in m, cm, mm or km (at most 109092.17 m either way)";

TEST_F(Cli, NewTrackShowsItsTreeAndRows) {
  EXPECT_EQ(Ok({"tree", file_}),
            "Track\n  Section 0 (straight)\n    Altitude 0\n    Altitude 1\n    Wall 0\n    Wall 1\n");
  EXPECT_EQ(Ok({"props", file_}),
            "Length\t984252\t50.000002 m\n"
            "Sum of Section Lengths\t984252\t50.000002 m\n"
            "Number of Sections\t1\n"
            "Number of Traces\t2\n"
            "Trace 0\t-98425\t-4.99999 m\tyes\n"
            "Trace 1\t98425\t4.99999 m\tyes\n");
  EXPECT_EQ(Ok({"props", file_, "section-0/wall-1"}).substr(0, 30), "From\t98425\t4.99999 m\tyes\nTo\t98");
  EXPECT_EQ(Ok({"get", file_, "SECTION 0/Altitude 1", "Y"}), "98425\n");
  EXPECT_EQ(Ok({"get", file_, "track", "Trace 1"}), "98425\n");
  EXPECT_EQ(fs::file_size(file_), 424u);
}

TEST_F(Cli, SynthWritesTheLargeTestTrackAndRefusesBadCounts) {
  const std::string big = (dir_ / "big.mrd").string();
  Ok({"synth", "250", big});
  // 250 sections of 16 altitudes and 12 walls each.
  EXPECT_EQ(fs::file_size(big), 168u + 250u * (16 * 32 + 12 * 64 + 64));
  const std::string props = Ok({"props", big, "section 99"});  // the first half turn
  EXPECT_NE(props.find("Radius\t393701\t"), std::string::npos) << props;
  EXPECT_EQ(Ok({"get", big, "section 249/wall 11", "Surface"}), "2\n");  // 1 + (249 + 11) % 7
  for (const char* count : {"0", "-3", "x", "100001"}) {
    const Result r = RunCommand({"synth", count, (dir_ / "no.mrd").string()});
    EXPECT_EQ(r.code, 2) << count;
    EXPECT_EQ(r.err, "meridal-cli: N must be a whole number of sections from 1 to 100000\n");
  }
  EXPECT_FALSE(fs::exists(dir_ / "no.mrd"));
}

TEST_F(Cli, SetConvertsInTheChosenBaseAndRefusesWithoutWriting) {
  Refused({"set", file_, "section 0", "Radius", "5000000"}, "Input not valid ! Range Error!");
  Refused({"set", file_, "section 0", "Length", "012"},
          "Input not valid !\nLength takes a whole number from -2147483648 to 2147483647, or a length in m, cm, mm or "
          "km (at most 109092.17 m either way)");
  Refused({"set", file_, "section 0", "Length", "0"}, "Input not valid ! Range Error!");
  Refused({"set", file_, "section 0", "Length", "109092.2", "--base", "m"},
          "Input not valid !\nLength takes a number of metres (at most 109092.17 either way), or a length in m, cm, mm "
          "or km (at most 109092.17 m either way)");
  Ok({"set", file_, "section 0", "Length", "100", "--base", "m"});
  EXPECT_EQ(Ok({"get", file_, "section 0", "Length"}), "1968504\n");
  EXPECT_EQ(Ok({"get", file_, "track", "Length"}), "1968504\n");
  Ok({"set", file_, "section 0", "Orientation", "180", "--base", "deg"});
  EXPECT_EQ(Ok({"get", file_, "section 0", "Orientation"}), "-2147483648\n");
  Ok({"set", file_, "section 0/wall 0", "Height", "-5"});
  EXPECT_EQ(Ok({"get", file_, "section 0/wall 0", "Height"}), "-5\n");

  // -o writes elsewhere and leaves the input as it was.
  const std::string before = Bytes(file_);
  const std::string other = (dir_ / "other.mrd").string();
  Ok({"set", file_, "track", "Trace 0", "-1", "--base", "m", "-o", other});
  EXPECT_EQ(Bytes(file_), before);
  EXPECT_EQ(Ok({"get", other, "track", "Trace 0"}), "-19685\n");
}

// A change whose stored integers would wrap around the 32-bit plan is refused,
// and so is a value the project file does not keep: the file stays byte for byte.
TEST_F(Cli, RefusesWrapAroundsAndValuesTheFileDoesNotKeep) {
  const std::string range = "Input not valid ! Range Error!";
  Refused({"set", file_, "section 0", "Longitudinal gap", "2147483647"}, range);
  Refused({"set", file_, "section 0", "Lateral gap", "-2147483648"}, range);
  Refused({"set", file_, "track", "Length", "5"},
          "Length is not kept in the project file; it is the sum of the section lengths when the file is read");
  Refused({"set", file_, "section 0", "Start", "5"},
          "Start is not kept in the project file; it is the sum of the lengths of the sections before it when the "
          "file is read");
  Refused({"set", file_, "section 0/altitude 1", "A3", "3"},
          "A3 is not kept in the project file; it is 3 \u00d7 3rd order coeff. when the file is read");
  Refused({"set", file_, "section 0/altitude 1", "B2", "2"},
          "B2 is not kept in the project file; it is 2 \u00d7 2nd order coeff. when the file is read");
  // An arc of radius 2e9 has its centre 2e9 to the left of its start.
  Ok({"edit", file_, "section 0", "change-type"});
  Ok({"set", file_, "section 0", "Radius", "2000000000"});
  Refused({"set", file_, "section 0", "Lateral gap", "200000000"}, range);
  // 1.9e9 lower its centre still fits; turned about its start to head west, the
  // centre would lie 2e9 below the start.
  Ok({"set", file_, "section 0", "Lateral gap", "-1900000000"});
  Refused({"set", file_, "section 0", "Orientation", "180", "--base", "deg"}, range);
  Ok({"set", file_, "section 0", "Orientation", "0"});
}

TEST_F(Cli, ReportsBadFilesObjectsAndUsage) {
  const std::string text = (dir_ / "notes.txt").string();
  std::ofstream(text) << "just some text, long enough to hold a header of forty bytes";
  Result r = RunCommand({"tree", text});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Not a MERIDAL File !\nnotes.txt: the file begins with the bytes 6A 75 73 74, not with MRDL\n");
  r = RunCommand({"tree", (dir_ / "missing.mrd").string()});
  EXPECT_EQ(r.code, 1);
  const std::string missing = (dir_ / "missing.mrd").string();
  EXPECT_EQ(r.err, "Unable to open " + missing + " !\n" + missing + ": No such file or directory\n");
  for (const char* bad : {"section 1", "section 01", "section 0/wall 2", "wall 0", "section 0/trace 0"}) {
    r = RunCommand({"get", file_, bad, "Length"});
    EXPECT_EQ(r.code, 1) << bad;
    EXPECT_NE(r.err.find(bad), std::string::npos) << bad;
  }
  EXPECT_EQ(RunCommand({}).code, 2);
  EXPECT_EQ(RunCommand({"frobnicate"}).code, 2);
  EXPECT_EQ(RunCommand({"get", file_}).code, 2);
  EXPECT_EQ(RunCommand({"set", file_, "track", "Length", "5", "--base", "inch"}).code, 2);
  EXPECT_EQ(RunCommand({"set", file_, "track", "Length", "5", "-o"}).code, 2);
}

TEST_F(Cli, ValuesTakeTheirUnitAndKeepJoinedIsAskedFor) {
  Ok({"edit", file_, "section 0", "add-after"});
  Ok({"edit", file_, "section 1", "add-after"});
  Ok({"edit", file_, "section 1", "change-type"});
  Ok({"set", file_, "section 2", "Length", "150 m"});
  EXPECT_EQ(Ok({"get", file_, "section 2", "Length"}), "2952756\n");
  Ok({"edit", file_, "section 0", "split", "12.5 m"});  // a unit for the split's length too
  EXPECT_EQ(Ok({"get", file_, "section 0", "Length"}), "246063\n");
  Refused({"set", file_, "section 1", "Length", "30\u00B0"}, "Input not valid !\n" + kLengthTakes);
  Refused({"set", file_, "section 1/wall 0", "Surface", "5 m"}, "Input not valid !\nSurface takes a number without a unit");
  Refused({"set", file_, "section 2", "Length", "12,5 m"}, "Input not valid !\n" + kLengthTakes);  // only '.'

  // Off by default: the arc turns and the straight after it stays where it was.
  Ok({"set", file_, "section 2", "Curvature", "45\u00B0"});
  EXPECT_EQ(Ok({"get", file_, "section 2", "Curvature"}), "268435456\n");
  EXPECT_NE(Ok({"get", file_, "section 3", "Longitudinal gap"}), "0\n");
  // Asked for, it follows; in a batch, keep-joined on holds for the lines after it.
  Ok({"set", file_, "section 2", "Curvature", "30 deg", "--keep-joined"});
  EXPECT_EQ(Ok({"get", file_, "section 3", "Longitudinal gap"}), "0\n");
  EXPECT_EQ(Ok({"get", file_, "section 3", "Lateral gap"}), "0\n");
  EXPECT_EQ(Ok({"get", file_, "section 3", "Orientation mismatch"}), "0\n");
  Result r = RunCommand({"batch", file_}, "set 'section 2' Radius '40 m'\nkeep-joined on\nedit 'section 1' add-after\n"
                                          "keep-joined off\nget 'section 4' 'Longitudinal gap'\nkeep-joined maybe\n");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "0\n");  // the Radius opened a gap; the add after it closed it again
  EXPECT_EQ(r.err, "line 6: usage: keep-joined on|off\n");
}

TEST_F(Cli, EditsSectionsAndRefusesWhatTheModelRefuses) {
  Refused({"edit", file_, "section 0", "remove"}, "Cannot remove Section 0 (straight) !");
  Refused({"edit", file_, "section 0", "split", "0"}, "Input not valid ! Range Error!");
  Refused({"edit", file_, "section 0", "split", "1.5"},
          "Input not valid !\nLength of first part takes a whole number from -2147483648 to 2147483647, or a length "
          "in m, cm, mm or km (at most 109092.17 m either way)");
  Refused({"edit", file_, "section 0/wall 0", "remove"}, "Cannot remove Wall 0 !");
  Refused({"edit", file_, "section 0", "copy-walls-from", "1"}, "Input not valid ! Range Error !");
  Refused({"edit", file_, "section 0", "copy-walls-from", "007"}, "Input not valid !");
  const std::string before = Bytes(file_);
  Result r = RunCommand({"edit", file_, "section 0/wall 0", "split", "5"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "meridal-cli: split does not apply to section 0/wall 0\n");
  EXPECT_EQ(Bytes(file_), before);

  Ok({"edit", file_, "section 0", "add-after"});
  Ok({"edit", file_, "section 1", "change-type"});
  EXPECT_EQ(Ok({"get", file_, "section 1", "Curvature"}), "119304647\n");
  Ok({"edit", file_, "section 0", "split", "1000"});
  const std::string section = "    Altitude 0\n    Altitude 1\n    Wall 0\n    Wall 1\n";
  EXPECT_EQ(Ok({"tree", file_}), "Track\n  Section 0 (straight)\n" + section + "  Section 1 (straight)\n" + section +
                                     "  Section 2 (curved)\n" + section);
  EXPECT_EQ(Ok({"get", file_, "section 0", "Length"}), "1000\n");
  EXPECT_EQ(Ok({"get", file_, "section 2", "Start"}), "984252\n");
  Ok({"edit", file_, "section 0/wall 0", "add-after"});
  Ok({"edit", file_, "section 0", "copy-walls-to-all"});
  EXPECT_EQ(Ok({"get", file_, "section 2/wall 1", "From"}), "0\n");
  Ok({"set", file_, "section 2/altitude 1", "Height@Start", "77"});
  Ok({"edit", file_, "section 2/altitude 1", "copy-altitude"});
  EXPECT_EQ(Ok({"get", file_, "section 2/altitude 0", "Height@Start"}), "77\n");
}

TEST_F(Cli, EditsTraces) {
  Refused({"trace", file_, "remove", "0"}, "Cannot remove Trace 0 !");
  Refused({"trace", file_, "add-after", "5"}, "Cannot add Trace 5 !");
  Refused({"trace", file_, "add-before", "x"}, "Cannot add Trace x !");
  Ok({"trace", file_, "add-after", "0"});
  EXPECT_EQ(Ok({"get", file_, "track", "Trace 1"}), "0\n");
  EXPECT_EQ(Ok({"get", file_, "section 0/altitude 2", "Y"}), "98425\n");
  Ok({"trace", file_, "remove", "0"});
  EXPECT_EQ(Ok({"get", file_, "track", "Trace 0"}), "0\n");
}

TEST_F(Cli, CheckListsEveryProblemAndPassesAWellMadeCircuit) {
  Result r = RunCommand({"check", file_});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "Section 0: longitudinal gap -50.000002 m\n");
  EXPECT_EQ(r.err, "1 problem found\n");
  // A stadium: straight, half turn left, straight, half turn left.
  Ok({"edit", file_, "section 0", "add-after"});
  Ok({"edit", file_, "section 1", "change-type"});
  Ok({"set", file_, "section 1", "Radius", "984252"});
  Ok({"set", file_, "section 1", "Curvature", "180", "--base", "curv"});
  Ok({"edit", file_, "section 1", "add-after"});
  Ok({"edit", file_, "section 2", "change-type"});
  Ok({"set", file_, "section 2", "Length", "984252"});
  Ok({"edit", file_, "section 2", "add-after"});
  Ok({"edit", file_, "section 3", "change-type"});
  Ok({"set", file_, "section 3", "Radius", "984252"});
  Ok({"set", file_, "section 3", "Curvature", "180", "--base", "curv"});
  r = RunCommand({"check", file_});
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out, "");

  // A raised start of a section is a step up from its predecessor and a step
  // down to its successor; a wall that jumps; a change in the number of walls is
  // information only and leaves the exit code at 0.
  Ok({"set", file_, "section 2/altitude 1", "Height@Start", "4921"});
  Ok({"set", file_, "section 1/wall 0", "To", "-100000"});
  r = RunCommand({"check", file_});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out,
            "Section 2, trace 1: height step 249.9868 mm\n"
            "Section 2, wall 0: wall jump 80.01 mm\n"
            "Section 3, trace 1: height step -249.9868 mm\n");
  EXPECT_EQ(r.err, "3 problems found\n");
  Ok({"set", file_, "section 2/altitude 1", "Height@Start", "0"});
  Ok({"set", file_, "section 1/wall 0", "To", "-98425"});
  Ok({"edit", file_, "section 3/wall 0", "add-after"});
  r = RunCommand({"check", file_});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "Section 0: 2 walls after 3 (information)\nSection 3: 3 walls after 2 (information)\n");
  // A trace rising 5 m and back over the 50 m straight: 40 % at its ends, a
  // problem at the default limit and at a limit asked for, none above it.
  Ok({"set", file_, "section 2/altitude 0", "1st order coeff.", "393700"});
  Ok({"set", file_, "section 2/altitude 0", "2nd order coeff.", "-393700"});
  r = RunCommand({"check", file_, "--max-slope", "45"});
  EXPECT_EQ(r.out.find("steep"), std::string::npos) << r.out;
  for (const char* limit : {"25", "39.5"}) {
    r = RunCommand({"check", file_, "--max-slope", limit});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find(std::string("Section 2, trace 0: steep 40.00 % (more than ") + limit + " %)\n"),
              std::string::npos) << r.out;
  }
  EXPECT_EQ(RunCommand({"check", file_}).out, RunCommand({"check", file_, "--max-slope", "25"}).out);
  for (const char* bad : {"0", "-3", "steep", "nan"}) {
    r = RunCommand({"check", file_, "--max-slope", bad});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "meridal-cli: --max-slope takes a percentage more than 0\n");
  }
}

TEST_F(Cli, ADamagedFileIsReadWithAWarningAndCheckListsTheDamage) {
  std::string bytes = Bytes(file_);
  bytes[296 + 40] = static_cast<char>(bytes[296 + 40] ^ 0x11);  // the new track's wall 1
  std::ofstream(file_, std::ios::binary) << bytes;
  Result r = RunCommand({"tree", file_});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err,
            "meridal-cli: warning: t.mrd is damaged: 1 place does not hold what the file itself fixes (meridal-cli "
            "check lists them)\n");
  r = RunCommand({"check", file_});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out,
            "Section 0, wall 1: damaged record (its filler words are wrong)\n"
            "Section 0: longitudinal gap -50.000002 m\n");
  EXPECT_EQ(r.err, "1 damaged place in the file\n1 problem found\n");
}

TEST_F(Cli, ATrackLongerThanATrackCanHoldIsReadWithAWarningAndNotExported) {
  // Written through the core: no edit makes such a track.
  TTrack track;
  track.SetDefaults();
  testing::AppendCopy<TStraightSection>(track);
  testing::AppendCopy<TStraightSection>(track);
  for (auto& section : track.Sections) section->Length = 1000000000;
  track.RecomputeStarts();
  const std::string path = (dir_ / "long.mrd").string(), trk = (dir_ / "long.trk").string();
  testing::RecordingMessages quiet;
  TFiller filler(3);
  ASSERT_EQ(SaveProjectFile(path, track, filler, quiet), FileStatus::Ok);

  const std::string warning =
      "meridal-cli: warning: long.mrd: the sections add up to 152400.00 m, more than the 109092.17 m (2147483647 "
      "units) a track can hold\n";
  Result r = RunCommand({"tree", path});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, warning);
  r = RunCommand({"export", path, trk});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, warning +
                       "Track: Error writing file!\nthe sections add up to 152400.00 m, more than the 109092.17 m "
                       "(2147483647 units) a track can hold\n");
  EXPECT_FALSE(fs::exists(trk));
  r = RunCommand({"check", path});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
            "Track: too long 152400 m, more than the 109092.17 m a track can hold");

  // The large test track stays within the limit.
  const std::string big = (dir_ / "big.mrd").string();
  Ok({"synth", "10000", big});
  r = RunCommand({"get", big, "track", "Length"});
  EXPECT_EQ(r.err, "");
  EXPECT_GT(std::stoll(r.out), 2000000000);
  EXPECT_EQ(RunCommand({"export", big, trk}).code, 0);
}

TEST_F(Cli, ProfilePrintsEveryTraceAtEvenStepsOfEverySection) {
  Ok({"set", file_, "section 0/altitude 1", "3rd order coeff.", "19685"});
  Ok({"set", file_, "section 0/altitude 1", "Height@Start", "98425"});
  EXPECT_EQ(Ok({"profile", file_, "--samples", "2"}),
            "section,t,distance_m,trace_0_m,trace_1_m\n"
            "0,0.000000,0.000000,0.000000,4.999990\n"
            "0,0.500000,25.000001,0.000000,5.124990\n"
            "0,1.000000,50.000002,0.000000,5.999988\n");
  const std::string eightSteps = Ok({"profile", file_});
  EXPECT_EQ(std::count(eightSteps.begin(), eightSteps.end(), '\n'), 1 + 9);
  EXPECT_EQ(RunCommand({"profile", file_, "--samples", "0"}).code, 2);
}

TEST_F(Cli, ExportsTheTrackFile) {
  const std::string trk = (dir_ / "t.trk").string();
  Ok({"export", file_, trk});
  const std::string bytes = Bytes(trk);
  ASSERT_EQ(bytes.size(), 276u);
  EXPECT_EQ(bytes.substr(0, 4), "KART");
}

// The surface in 3D: a .glb, or a .gltf with its .bin beside it; a section that
// has no width is skipped with a warning. The files join those the glTF validator checks.
TEST_F(Cli, MeshWritesGltfAndWarnsOfSkippedSections) {
  const std::filesystem::path meshes = MERIDAL_TEST_MESH_DIR;
  std::filesystem::create_directories(meshes);
  Ok({"edit", file_, "section 0", "add-after"});
  Ok({"set", file_, "section 1/wall 1", "From", "-98425"});
  Ok({"set", file_, "section 1/wall 1", "To", "-98425"});
  const Result glb = RunCommand({"mesh", file_, (meshes / "cli.glb").string()});
  EXPECT_EQ(glb.code, 0);
  EXPECT_EQ(glb.err, "meridal-cli: warning: Section 1 skipped: its walls enclose no width\n");
  EXPECT_EQ(Bytes(meshes / "cli.glb").substr(0, 5), std::string("glTF\x02", 5));
  // Textured unless asked for plain colours.
  EXPECT_NE(Bytes(meshes / "cli.glb").find("\"image/png\""), std::string::npos);
  Ok({"mesh", file_, (meshes / "cli-plain.glb").string(), "--no-textures"});
  EXPECT_EQ(Bytes(meshes / "cli-plain.glb").find("\"image"), std::string::npos);
  Ok({"mesh", file_, (meshes / "cli.gltf").string()});
  EXPECT_NE(Bytes(meshes / "cli.gltf").find("\"uri\": \"cli.bin\""), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(meshes / "cli.bin"));
  const Result other = RunCommand({"mesh", file_, (dir_ / "t.obj").string()});
  EXPECT_EQ(other.code, 2);
  EXPECT_EQ(other.err,
            "meridal-cli: the mesh is written as OUT.glb or OUT.gltf\n"
            "usage: meridal-cli mesh FILE.mrd OUT.glb|OUT.gltf [--no-textures]\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "t.obj"));
}

#ifdef MERIDAL_CLI_RENDER
TEST_F(Cli, ConvertsBetweenTheThreeFormatsAndEveryCommandReadsAndWritesBackAny) {
  const std::string json = (dir_ / "t.json").string(), trk = (dir_ / "t.trk").string();
  const std::string mrd = (dir_ / "u.mrd").string(), again = (dir_ / "u.trk").string();
  Ok({"set", file_, "section 0", "Length", "1234"});
  Ok({"convert", file_, json});
  Ok({"convert", json, trk});
  Ok({"convert", trk, mrd});
  Ok({"export", mrd, again});
  EXPECT_EQ(Bytes(again), Bytes(trk));
  EXPECT_EQ(Bytes(json).substr(0, 29), "{\n  \"format\": \"meridal-track\"");
  for (const std::string& file : {json, trk}) {
    EXPECT_EQ(Ok({"get", file, "section 0", "Length"}), "1234\n");
    Ok({"set", file, "section 0", "Length", "999"});  // written back in its own format
    EXPECT_EQ(Ok({"get", file, "section 0", "Length"}), "999\n");
  }
  EXPECT_EQ(Bytes(json)[0], '{');
  EXPECT_EQ(Bytes(trk).substr(0, 4), "KART");
  // Standard input and output, the format told by --from and --to.
  std::istringstream in(Bytes(json));
  std::ostringstream out, err;
  EXPECT_EQ(RunCli({"convert", "-", "-", "--to", "trk"}, CliIo{out, err, &in}), 0) << err.str();
  EXPECT_EQ(out.str(), Bytes(trk));
  EXPECT_EQ(RunCommand({"convert", json, "-"}).code, 2);
  EXPECT_EQ(RunCommand({"convert", json, mrd, "--to", "xml"}).code, 2);
}

TEST_F(Cli, ConvertRefusesADamagedTrackFileAndWritesNothing) {
  const std::string trk = (dir_ / "t.trk").string(), out = (dir_ / "out.json").string();
  Ok({"export", file_, trk});
  std::string bytes = Bytes(trk);
  bytes[4] = static_cast<char>(0xB9);  // format code 3001
  std::ofstream(trk, std::ios::binary) << bytes;
  Result r = RunCommand({"convert", trk, out});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Track: Error reading file!\nt.trk: the format code is 3001, not 3000\n");
  EXPECT_FALSE(fs::exists(out));
  r = RunCommand({"convert", trk, file_});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(fs::file_size(file_), 424u);
}

TEST_F(Cli, RendersTheDrawingIntoAPng) {
  const std::string png = (dir_ / "t.png").string();
  Ok({"set", file_, "section 0/wall 0", "Surface", "4"});
  Ok({"render", file_, png});
  QImage image(QString::fromStdString(png));
  ASSERT_FALSE(image.isNull());
  // At zoom 1 the larger extent of the track's rectangle spans 600 pixels.
  EXPECT_EQ(image.width(), 600);
  auto count = [&](QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
  };
  EXPECT_GT(count(qRgb(0, 128, 0)), 1000);  // the grass strip
  EXPECT_GT(count(qRgb(255, 0, 0)), 50);    // the start/finish marker
  EXPECT_EQ(count(qRgb(255, 127, 0)), 0);   // nothing selected

  // With --size the whole track fits the picture, in its middle, as Zoom to Fit
  // (the start/finish flag hangs outside the track and is not counted).
  Ok({"render", file_, png, "--size", "1200x900"});
  image.load(QString::fromStdString(png));
  QRect drawn;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (const QRgb c = image.pixel(x, y) & 0xFFFFFF; c != 0xFFFFFF && c != 0xFF0000) drawn |= QRect(x, y, 1, 1);
  EXPECT_GT(drawn.width(), 800);
  EXPECT_LE(std::abs(drawn.center().x() - 600), 60);
  EXPECT_LE(std::abs(drawn.center().y() - 450), 60);

  Ok({"render", file_, png, "--size", "300x200", "--select", "section 0/wall 0", "--view-flags", "0", "--zoom", "2"});
  image.load(QString::fromStdString(png));
  EXPECT_EQ(image.size(), QSize(300, 200));
  EXPECT_GT(count(qRgb(255, 127, 0)), 50);  // the selected wall strip
  EXPECT_EQ(count(qRgb(0, 0, 255)), 0);     // no traces without their view flag

  // Exact colours unless asked to draw smoothly.
  auto colours = [&] {
    std::set<QRgb> seen;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) seen.insert(image.pixel(x, y));
    return seen.size();
  };
  Ok({"set", file_, "section 0", "Orientation", "30", "--base", "deg"});  // slanted edges
  Ok({"render", file_, png});
  image.load(QString::fromStdString(png));
  const size_t exact = colours();
  Ok({"render", file_, png, "--smooth"});
  image.load(QString::fromStdString(png));
  EXPECT_GT(colours(), 2 * exact);

  // The profile's picture: its own default size, the traces in their colours.
  Ok({"set", file_, "section 0/altitude 1", "1st order coeff.", "98425"});
  Ok({"render", file_, png, "--profile", "--select", "section 0/altitude 1"});
  image.load(QString::fromStdString(png));
  EXPECT_EQ(image.size(), QSize(1200, 600));
  const TColor trace1 = TraceColor(1);
  EXPECT_GT(count(qRgb(trace1.r, trace1.g, trace1.b)), 1000);  // trace 1, bold
  EXPECT_GT(count(qRgb(255, 236, 179)), 10000);  // the selected section's shade
  EXPECT_GT(count(qRgb(0, 0, 0)), 500);  // axes and labels

  EXPECT_EQ(RunCommand({"render", file_, png, "--size", "0x5"}).code, 2);
  EXPECT_EQ(RunCommand({"render", file_, png, "--view-flags", "64"}).code, 2);
  EXPECT_EQ(RunCommand({"render", file_, png, "--zoom", "-1"}).code, 2);
  EXPECT_EQ(RunCommand({"render", file_, png, "--zoom", "1e300"}).code, 1);
}
#endif

TEST_F(Cli, FixMendsEveryJointButTheLoopsAndSaysWhatItChanged) {
  Ok({"edit", file_, "section 0", "add-after"});
  Ok({"set", file_, "section 1", "Lateral gap", "1000"});
  Ok({"set", file_, "section 1/altitude 0", "Height@Start", "777"});
  Ok({"set", file_, "section 1/wall 1", "From", "90000"});
  const std::string before = Bytes(file_), fixed = (dir_ / "fixed.json").string();
  EXPECT_EQ(Ok({"fix", file_, "all", "-o", fixed}),
            "Section 1: lateral gap 50.8 mm, joined\n"
            "Section 1, trace 0: height step 39.4716 mm, matched\n"
            "Section 1, wall 1: wall jump -427.99 mm, matched\n");
  EXPECT_EQ(Bytes(file_), before);
  Result r = RunCommand({"check", fixed});
  EXPECT_EQ(r.out, "Section 0: longitudinal gap -100 m\n");
  // Nothing left to mend: nothing said, nothing written.
  const std::string mended = Bytes(fixed);
  EXPECT_EQ(Ok({"fix", fixed, "all"}), "");
  EXPECT_EQ(Bytes(fixed), mended);
  EXPECT_EQ(RunCommand({"fix", fixed, "everything"}).code, 2);
}

}  // namespace
}  // namespace meridal

namespace meridal {
namespace {

using cli_test::Bytes;
using cli_test::Cli;
using cli_test::Result;
using cli_test::RunCommand;

TEST_F(Cli, FixLoopClosesTheTrackAndSaysWhatChangedAlsoInABatch) {
  // Two straights and two half turns, then one straight made 1 m longer.
  Ok({"edit", file_, "section 0", "add-after"});
  Ok({"edit", file_, "section 1", "change-type"});
  Ok({"set", file_, "section 1", "Radius", "50", "--base", "m"});
  Ok({"set", file_, "section 1", "Curvature", "180", "--base", "curv"});
  Ok({"edit", file_, "section 1", "add-after"});
  Ok({"edit", file_, "section 2", "change-type"});
  Ok({"set", file_, "section 2", "Length", "984252"});
  Ok({"edit", file_, "section 2", "add-after"});
  Ok({"edit", file_, "section 3", "change-type"});
  Ok({"set", file_, "section 3", "Radius", "50", "--base", "m"});
  Ok({"set", file_, "section 3", "Curvature", "180", "--base", "curv"});
  Ok({"fix", file_, "positions"});
  Ok({"set", file_, "section 2", "Length", "51", "--base", "m"});
  const std::string before = Bytes(file_);

  Result r = RunCommand({"fix", file_, "loop", "--sections", "2-2"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "Section 2: length 51 m \u2192 50.000002 m, changed\n"
            "Loop closed: gap 999.998 mm, turn 0 \u00b0 before; 0 after rounding\n");
  EXPECT_EQ(RunCommand({"check", file_}).out.find("gap"), std::string::npos);
  // The same in a batch, undone again: the file stays as it was.
  std::ofstream(file_, std::ios::binary) << before;
  r = RunCommand({"batch", file_}, std::string("fix loop\nundo\n"));
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Bytes(file_), before);
  EXPECT_EQ(RunCommand({"fix", file_, "loop", "--sections", "2-x"}).code, 2);
  const Result backwards = RunCommand({"fix", file_, "loop", "--sections", "5-2"});
  EXPECT_EQ(backwards.code, 2);
  EXPECT_EQ(backwards.err.substr(0, backwards.err.find('\n')),
            "meridal-cli: --sections 5-2 runs backwards: a range goes from the lower section number to the higher (2-5)");
  Refused({"fix", file_, "loop", "--sections", "7-9"}, "No such sections: 7 to 9");
}

// The example circuit with its second straight 2 m longer: Close Loop over every
// run of sections that can close it leaves check with nothing to say.
TEST_F(Cli, FixLoopOverAnyRangeOfTheExampleLeavesTheCheckClean) {
  const std::string example = (dir_ / "example.mrd").string();
  fs::copy_file(std::string(MERIDAL_EXAMPLES_DIR) + "/circuit.mrd", example);
  Ok({"set", example, "section 2", "Length", "102", "--base", "m"});
  const std::string opened = Bytes(example);
  int closed = 0;
  for (int first = 0; first < 10; ++first)
    for (int last = first; last < 10; ++last) {
      std::ofstream(file_, std::ios::binary) << opened;
      const std::string range = std::to_string(first) + "-" + std::to_string(last);
      if (RunCommand({"fix", file_, "loop", "--sections", range}).code != 0) {
        EXPECT_EQ(Bytes(file_), opened) << range;
        continue;
      }
      ++closed;
      const Result check = RunCommand({"check", file_});
      EXPECT_EQ(check.code, 0) << range << ": " << check.out;
    }
  EXPECT_GE(closed, 40);
}

TEST_F(Cli, FitBuildsATrackFromACentrelineAndCentrelineWritesItBack) {
  const std::string csv = (dir_ / "lap.csv").string(), out = (dir_ / "lap.mrd").string();
  std::ofstream(csv) << "# x_m,y_m,w_tr_right_m,w_tr_left_m\n"
                     << "0,0,4,4\n10,0,4,4\n20,0,4,4\n30,0,4,4\n40,10,4,4\n40,20,4,4\n30,30,4,4\n20,30,4,4\n"
                     << "10,30,4,4\n0,30,4,4\n-10,20,4,4\n-10,10,4,4\n";
  // Corners every 10 m: no arc passes within a metre of each.
  Result r = RunCommand({"fit", csv, out, "--tolerance", "1.5", "--traces", "2"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find(" sections over 0."), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("deviation: largest "), std::string::npos);
  EXPECT_NE(r.out.find("closure before rounding: "), std::string::npos);
  EXPECT_EQ(RunCommand({"check", out}).code, 0) << RunCommand({"check", out}).out;

  const std::string back = (dir_ / "back.csv").string();
  Ok({"centreline", out, back, "--step", "2"});
  EXPECT_EQ(Bytes(back).substr(0, 35), "# x_m,y_m,w_tr_right_m,w_tr_left_m\n");

  std::ofstream(csv) << "0,0\n1,x\n";
  r = RunCommand({"fit", csv, out});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, csv + ": line 2: 'x' is not a number\n");
  EXPECT_EQ(RunCommand({"fit", csv, out, "--traces", "1"}).code, 2);
  EXPECT_EQ(RunCommand({"fit", csv, out, "--tolerance", "-1"}).code, 2);
  EXPECT_EQ(RunCommand({"fit", csv, out, "--min-length", "0"}).code, 2);

  // A star is no circuit: refused with the place, nothing written; --force
  // writes the best found with the same words as a warning.
  std::ofstream star(csv);
  for (int i = 0; i < 100; ++i)
    star << (i % 2 ? 200 : 300) * std::cos(i * 0.0628318530718) << "," << (i % 2 ? 200 : 300) * std::sin(i * 0.0628318530718) << "\n";
  star.close();
  const std::string best = (dir_ / "best.mrd").string();
  r = RunCommand({"fit", csv, best, "--tolerance", "1"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err.substr(0, csv.size() + 15), csv + ": the track is ") << r.err;
  EXPECT_NE(r.err.find(" m along the lap (x "), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(best));
  r = RunCommand({"fit", csv, best, "--tolerance", "1", "--force"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err.substr(0, csv.size() + 24), csv + ": warning: the track is ") << r.err;
  EXPECT_TRUE(std::filesystem::exists(best));
  EXPECT_EQ(RunCommand({"fit", csv, out, "--heights", "sea"}).code, 2);
  EXPECT_EQ(RunCommand({"fit", csv, out, "--dem-origin", "1,2"}).code, 2);  // no --dem
}

TEST_F(Cli, FitTakesHeightsFromATerrainModelAndNotesItBesideTheTrack) {
  // A lap of 30 by 30 m in local metres over a plane rising 5 % to the north,
  // its (0, 0) at (500100, 5400100) of a model in UTM metres.
  const std::string csv = (dir_ / "lap.csv").string(), out = (dir_ / "lap.mrd").string();
  const std::string model = (dir_ / "plane.tif").string(), small = (dir_ / "small.tif").string();
  std::ofstream(csv) << "# x_m,y_m,w_tr_right_m,w_tr_left_m\n"
                     << "0,0,4,4\n10,0,4,4\n20,0,4,4\n30,0,4,4\n40,10,4,4\n40,20,4,4\n30,30,4,4\n20,30,4,4\n"
                     << "10,30,4,4\n0,30,4,4\n-10,20,4,4\n-10,10,4,4\n";
  const auto plane = [](double, double n) { return 100 + 0.05 * (n - 5400000); };
  ASSERT_TRUE(testing::WriteUtmModel(model, 500000, 5400200, 1, 200, 200, plane));
  ASSERT_TRUE(testing::WriteUtmModel(small, 500000, 5400200, 1, 120, 200, plane));  // ends at x 20
  // Outside the model: refused with the place, nothing written.
  Result r = RunCommand({"fit", csv, out, "--tolerance", "1", "--dem", small, "--dem-origin", "500100,5400100"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find(": outside the model\n"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "lap.view.json"));

  r = RunCommand({"fit", csv, out, "--tolerance", "1", "--dem", model, "--dem-origin", "500100,5400100",
                  "--heights", "absolute"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("from the terrain model's samples"), std::string::npos) << r.out;
  // The right edge starts 4 m south of the lap's first point: 104.8 m.
  EXPECT_NEAR(std::stod(Ok({"get", out, "section 0/altitude 0", "Height@Start"})) / 19685.04, 104.8, 0.1);
  EXPECT_NE(Bytes(dir_ / "lap.view.json").find("\"model\": \"plane.tif\""), std::string::npos);
  // Fitted again without the model: the note goes.
  ASSERT_EQ(RunCommand({"fit", csv, out, "--tolerance", "1"}).code, 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "lap.view.json"));
}

}  // namespace
}  // namespace meridal
