#!/usr/bin/env bash
# The window's code (src/**/qt/) must build on Windows too: it uses no
# POSIX-only header or function; what it needs of the system goes through
# the seams in src/base/. Prints each offending line and fails.
# Usage: qt-posix.sh SRC_DIR
set -u
src=$1
headers='unistd|fcntl|dirent|pwd|grp|dlfcn|termios|poll|spawn|langinfo|libgen|glob|fnmatch|syslog|sys/[a-z_/]+|netinet/[a-z_]+|arpa/[a-z_]+'
calls='flock|fork|vfork|execl[ep]?|execv[ep]?|waitpid|wait|pipe2?|dup2?|fcntl|ioctl|mkstemp|mkdtemp|readlink|realpath|symlink|link|unlink|getuid|geteuid|getgid|getpwuid|getpwnam|setenv|unsetenv|kill|usleep|sleep|umask|chmod|chown|fchmod|fchown|fsync|mmap|munmap|opendir|readdir|closedir|nl_langinfo|localtime_r|gmtime_r|strerror_r|isatty'
# A call: the name standing alone or after the global "::", not a member
# (x.f(, p->f() nor another namespace's (Qt::f(, std::f().
found=$(find "$src" -path '*/qt/*' \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 grep -HnP "^\s*#\s*include\s*<($headers)\.h>|(^|[^.>:\w]|(?<![\w>])::)($calls)\s*\(" |
  grep -vP '^[^:]+:\d+:\s*//')
if [ -n "$found" ]; then
  echo "POSIX-only headers or calls in the window's code (move them behind a seam in src/base/):"
  echo "$found"
  exit 1
fi
echo "qt-posix: the window's code is free of POSIX-only headers and calls"
