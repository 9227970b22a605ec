// Capture of the standard streams (see Output.h): the stream's descriptor is
// pointed at a temporary file while the call runs, then put back. The file
// has a name in the working folder: the browser's runtime points a
// descriptor at a file by opening its path again, which an unnamed
// temporary file lacks.
#include "support/Output.h"

#include <unistd.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <sstream>
#include <string>

namespace vftest {

namespace {

constexpr size_t kLogPrefix = 10;  // "% 8i> "
constexpr size_t kLogMark = 8;     // where "> " stands

std::string Capture(FILE* stream, const std::function<void()>& call) {
  static int captures = 0;
  const std::string path = "vf-capture-" + std::to_string(captures++) + ".txt";
  std::fflush(stream);
  const int fd = fileno(stream);
  const int saved = dup(fd);
  FILE* file = std::fopen(path.c_str(), "w+b");
  if (saved < 0 || file == nullptr) {
    if (saved >= 0) close(saved);
    if (file != nullptr) std::fclose(file);
    std::remove(path.c_str());
    call();
    return "(the output could not be captured)";
  }
  dup2(fileno(file), fd);
  call();
  std::fflush(stream);
  dup2(saved, fd);
  close(saved);
  std::string text;
  std::rewind(file);
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  std::remove(path.c_str());
  // Windows's C runtime writes the text streams with "\r\n".
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

}  // namespace

std::string StdoutOf(const std::function<void()>& call) { return Capture(stdout, call); }

std::string StderrOf(const std::function<void()>& call) { return Capture(stderr, call); }

std::vector<std::string> LogOf(const std::function<void()>& call) {
  std::istringstream out(StdoutOf(call));
  std::vector<std::string> texts;
  for (std::string line; std::getline(out, line);) {
    texts.push_back(line.size() >= kLogPrefix && line.compare(kLogMark, 2, "> ") == 0
                        ? line.substr(kLogPrefix)
                        : "(not a log line) " + line);
  }
  return texts;
}

bool OpenPipe(int fds[2]) {
#ifdef _WIN32
  constexpr unsigned kPipeBytes = 65536;
  return _pipe(fds, kPipeBytes, _O_TEXT) == 0;  // text mode: "\r\n" reads as "\n"
#else
  return pipe(fds) == 0;
#endif
}

std::string ReadToEnd(int fd) {
  std::string text;
  char buffer[4096];
  for (int n; (n = static_cast<int>(read(fd, buffer, sizeof buffer))) > 0;) text.append(buffer, n);
  return text;
}

int CountLines(const std::string& text, const std::string& needle) {
  std::istringstream in(text);
  int count = 0;
  for (std::string line; std::getline(in, line);) count += line.find(needle) != std::string::npos;
  return count;
}

}  // namespace vftest
