#include "cli/output_buffer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>

namespace meridal {

bool OutputBuffer::Drain() {
  const char* at = pbase();
  while (at < pptr() && error_ == 0) {
    const ssize_t n = write(fd_, at, static_cast<size_t>(pptr() - at));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) error_ = n < 0 ? errno : EIO;
    else at += n;
  }
  // What cannot be written is dropped: the command fails either way.
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return error_ == 0;
}

OutputBuffer::int_type OutputBuffer::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int OutputBuffer::sync() { return Drain() ? 0 : -1; }

bool OutputBuffer::Close() {
  Drain();
  if (fd_ >= 0 && close(fd_) != 0 && error_ == 0 && errno != EINTR) error_ = errno;
  fd_ = -1;
  return error_ == 0;
}

std::string OutputFailure(std::ostream& out) {
  out.flush();
  if (out.good()) return std::string();
  const auto* buffer = dynamic_cast<const OutputBuffer*>(out.rdbuf());
  const int error = buffer ? buffer->Error() : 0;
  return std::string("write error: ") + (error != 0 ? std::strerror(error) : "the output could not be written");
}

}  // namespace meridal
