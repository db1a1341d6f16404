// The 3D mesh of the 10,000-section synthetic track (16 traces, 12 walls): built in
// the core, turned into a .glb image, and meridal-cli mesh as a user runs it, from
// the start of the process to its exit with the file read and the .glb written.
// The triangle count is printed with the results.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "cli/cli.h"
#include "mesh/gltf_export.h"
#include "mesh/ground_grid.h"
#include "mesh/surface_textures.h"
#include "mesh/track_mesh.h"
#include "model/synthetic_track.h"
#include "model/track.h"

extern char** environ;

namespace meridal::bench {
namespace {

namespace fs = std::filesystem;

const TTrack& BigTrack() {
  static const std::unique_ptr<TTrack> track = SyntheticTrack(10000, 16, 12);
  return *track;
}

void BM_MeshBuild10000(benchmark::State& state) {
  size_t triangles = 0;
  for (auto _ : state) {
    TTrackMesh mesh = BuildTrackMesh(BigTrack());
    triangles = mesh.TriangleCount();
    benchmark::DoNotOptimize(mesh);
  }
  state.counters["triangles"] = double(triangles);
}
// The CPU column is the whole process's: the build runs on every core.
BENCHMARK(BM_MeshBuild10000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The .glb image with its textures (as meridal-cli mesh writes it) and with
// plain colours (--no-textures).
void BM_MeshGlbImage10000(benchmark::State& state) {
  const TTrackMesh mesh = BuildTrackMesh(BigTrack());
  size_t bytes = 0;
  TGltfOptions options;
  options.textures = state.range(0) != 0;
  for (auto _ : state) {
    std::vector<uint8_t> image = GltfBinaryImage(mesh, options);
    bytes = image.size();
    benchmark::DoNotOptimize(image);
  }
  state.SetBytesProcessed(int64_t(bytes) * state.iterations());
}
BENCHMARK(BM_MeshGlbImage10000)->ArgName("textures")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The ground under the big track, which the 3D view makes again when an edit
// moves the track.
void BM_GroundUnder10000(benchmark::State& state) {
  const TTrackMesh mesh = BuildTrackMesh(BigTrack());
  for (auto _ : state) benchmark::DoNotOptimize(TGroundGrid::Under(mesh.sections));
}
BENCHMARK(BM_GroundUnder10000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Every surface texture drawn, as the 3D view does once at its start.
void BM_SurfaceTexturesDrawn(benchmark::State& state) {
  for (auto _ : state)
    for (int t = 0; t < kTextureCount; ++t)
      for (bool marked : {false, true}) benchmark::DoNotOptimize(TSurfaceTextures::Draw(TTexture(t), marked));
}
BENCHMARK(BM_SurfaceTexturesDrawn)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The project file of the big track, written once.
std::string BigTrackFile(const fs::path& dir) {
  fs::create_directories(dir);
  const std::string path = (dir / "big.mrd").string();
  if (!fs::exists(path)) {
    std::ostringstream ignored;
    if (RunCli({"synth", "10000", path}, CliIo{ignored, ignored}) != 0) return {};
  }
  return path;
}

void BM_CliMeshInProcess10000(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / "meridal-bench-mesh";
  const std::string in = BigTrackFile(dir), out = (dir / "big.glb").string();
  if (in.empty()) return state.SkipWithError("could not write the synthetic track");
  for (auto _ : state) {
    std::ostringstream output, errors;
    if (RunCli({"mesh", in, out}, CliIo{output, errors}) != 0) return state.SkipWithError(errors.str().c_str());
  }
}
BENCHMARK(BM_CliMeshInProcess10000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

#ifdef MERIDAL_CLI_PATH
double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The real program, from exec to exit; its own CPU time (user and system, every
// thread) as the counter cpu_s, since a shared machine stretches the wall time.
void BM_CliMeshProcess10000(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / "meridal-bench-mesh";
  const std::string in = BigTrackFile(dir), out = (dir / "big.glb").string();
  if (in.empty()) return state.SkipWithError("could not write the synthetic track");
  std::string program = MERIDAL_CLI_PATH, command = "mesh";
  const double before = ChildrenCpuSeconds();
  for (auto _ : state) {
    char* argv[] = {program.data(), command.data(), const_cast<char*>(in.c_str()), const_cast<char*>(out.c_str()),
                    nullptr};
    pid_t pid = 0;
    int status = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid ||
        !WIFEXITED(status) || WEXITSTATUS(status) != 0)
      return state.SkipWithError("meridal-cli mesh failed");
  }
  state.counters["cpu_s"] = (ChildrenCpuSeconds() - before) / double(state.iterations());
}
BENCHMARK(BM_CliMeshProcess10000)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace
}  // namespace meridal::bench
