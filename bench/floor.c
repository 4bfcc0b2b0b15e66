/* The floor for the benchmark: the least a program can do to give envday's
 * output with envday's guarantees. It prints the day, writes the unit to an
 * exclusively created temporary file, flushes it to disk, renames it over
 * def/env_data.sii and flushes the folder; it checks every call but says
 * nothing about failures, and has no options. */
#include <fcntl.h>
#include <stdio.h>
#include <time.h>
#include <unistd.h>

int main(void) {
  time_t t = time(NULL);
  struct tm local;
  if (t == (time_t)-1 || localtime_r(&t, &local) == NULL) return 1;
  int day = local.tm_yday + 1;
  printf("%d\n", day);
  if (fflush(stdout) != 0) return 1;

  char unit[256];
  int length = snprintf(unit, sizeof unit,
                        "SiiNunit \n{ \nenv_profile : env.data { \n  \n"
                        "\tlamps_on_elevation: 2.0 \n  \n  \n"
                        "\tday_in_year: %d\t//summer solstice\n"
                        "\tsummer_time: 1\t\t//summer time +1h\n  \n}\n}\n",
                        day);
  char temp[64];
  snprintf(temp, sizeof temp, "def/.env_data.sii.%ld.tmp", (long)getpid());
  int fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return 1;
  if (write(fd, unit, (size_t)length) != length || fsync(fd) != 0 ||
      close(fd) != 0 || rename(temp, "def/env_data.sii") != 0) {
    unlink(temp);
    return 1;
  }
  int folder = open("def", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0 || fsync(folder) != 0) return 1;
  close(folder);
  return 0;
}
