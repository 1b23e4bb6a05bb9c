#include "writer_limit.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

FileSizeLimit::FileSizeLimit(std::size_t limit) {
  // Writes past the limit fail (EFBIG) instead of raising SIGXFSZ.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &signal_);
  getrlimit(RLIMIT_FSIZE, &saved_);
  rlimit limited = saved_;
  limited.rlim_cur = static_cast<rlim_t>(limit);
  if (setrlimit(RLIMIT_FSIZE, &limited) != 0) throw std::runtime_error("cannot limit the file size");
}

FileSizeLimit::~FileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &saved_);
  sigaction(SIGXFSZ, &signal_, nullptr);
}

WriterEnd RunWriterKilledAt(std::size_t limit, const std::function<bool()>& write) {
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("cannot start the writer's process");
  if (child == 0) {
    rlimit bytes{};
    getrlimit(RLIMIT_FSIZE, &bytes);
    bytes.rlim_cur = static_cast<rlim_t>(limit);
    if (setrlimit(RLIMIT_FSIZE, &bytes) != 0) _exit(3);
    _exit(write() ? 0 : 1);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) throw std::runtime_error("the writer's process was lost");
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) return WriterEnd::Killed;
  if (WIFEXITED(status) && WEXITSTATUS(status) <= 1)
    return WEXITSTATUS(status) == 0 ? WriterEnd::Finished : WriterEnd::Refused;
  throw std::runtime_error("the writer's process ended otherwise");
}
#endif
