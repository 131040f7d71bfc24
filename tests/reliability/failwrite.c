/* A disk that fills up, for tests: loaded with LD_PRELOAD, it lets writes
 * into files under FAILWRITE_DIR go through until FAILWRITE_ROOM bytes have
 * been written, cuts the write that crosses that mark short, and fails every
 * later one with ENOSPC, as a full file system does. Other files, pipes and
 * terminals are left alone. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static const char* folder;
static size_t folderLength;
static long long room;
static int setUp;

static void readSettings(void) {
    setUp = 1;
    folder = getenv("FAILWRITE_DIR");
    const char* given = getenv("FAILWRITE_ROOM");
    if (!folder || !*folder || !given) {
        folder = NULL;
        return;
    }
    folderLength = strlen(folder);
    room = atoll(given);
}

static int inFolder(int fd) {
    char link[64];
    char target[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return 0;
    target[n] = '\0';
    return strncmp(target, folder, folderLength) == 0 && target[folderLength] == '/';
}

ssize_t write(int fd, const void* buffer, size_t count) {
    static ssize_t (*realWrite)(int, const void*, size_t);
    if (!realWrite)
        realWrite = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
    if (!setUp)
        readSettings();
    if (!folder || count == 0 || !inFolder(fd))
        return realWrite(fd, buffer, count);
    if (room <= 0) {
        errno = ENOSPC;
        return -1;
    }
    if ((long long)count > room)
        count = (size_t)room;
    const ssize_t written = realWrite(fd, buffer, count);
    if (written > 0)
        room -= written;
    return written;
}
