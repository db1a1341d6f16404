#pragma once
// Standard output as the commands write it: buffered, and keeping the system's
// reason when a write fails (a full disk, a closed descriptor, a quota), which
// std::cout does not tell. A command's output is worth as much as its exit code:
// `copy > run.json` on a full disk must not exit 0 with an empty file.
#include <array>
#include <iosfwd>
#include <streambuf>
#include <string>

namespace meridal {

class OutputBuffer : public std::streambuf {
 public:
  explicit OutputBuffer(int fd) : fd_(fd) { setp(buffer_.data(), buffer_.data() + buffer_.size()); }
  ~OutputBuffer() override { sync(); }
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  // errno of the first write (or close) that failed; 0 when none did.
  int Error() const { return error_; }
  // Writes what is buffered and closes the descriptor, as the last thing the
  // program does with it: some file systems report a failed write only here.
  // False when anything failed, the reason in Error().
  bool Close();

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool Drain();

  int fd_;
  int error_ = 0;
  std::array<char, 64 * 1024> buffer_;
};

// The line a failed standard output ends a command with, after its own output:
// "write error: No space left on device". Empty while the output is sound.
std::string OutputFailure(std::ostream& out);

}  // namespace meridal
