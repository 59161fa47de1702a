#include "cli/standard_output.h"

#include <stdio_ext.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/cli_messages.h"

void CloseStandardOutput() {
  const bool failedEarlier = std::ferror(stdout) != 0;
  const bool pending = __fpending(stdout) != 0;
  errno = 0;
  const bool closeFailed = std::fclose(stdout) != 0;
  const int code = errno;
  // A standard output that was closed before the program started is no fault while nothing was
  // written to it.
  if (!failedEarlier && (!closeFailed || (code == EBADF && !pending))) return;
  std::fprintf(stderr, "quarnel: %s%s\n", kStandardOutputFailedText,
               code != 0 ? std::strerror(code) : kStandardOutputEarlierText);
  _exit(1);
}
