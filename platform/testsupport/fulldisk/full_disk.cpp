// Preloaded into a program under test: writes to files whose path lies under
// VIREDA_FULL_DISK_PATH share the budget of free bytes the program sets with
// vireda_full_disk_set_free() (none is counted before). A write larger than
// what is left writes what fits; with nothing left it fails with ENOSPC, as
// on a full disk. Writes elsewhere are not touched.

#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>

namespace {

char gFolder[4096];
size_t gFolderLength = 0;
// Bytes left on the disk; negative: not counting.
std::atomic<long long> gFree{-1};

__attribute__((constructor)) void readFolder()
{
    const char* folder = getenv("VIREDA_FULL_DISK_PATH");
    if (!folder || !*folder || strlen(folder) + 2 > sizeof gFolder)
        return;
    strcpy(gFolder, folder);
    gFolderLength = strlen(gFolder);
    if (gFolder[gFolderLength - 1] != '/') {
        gFolder[gFolderLength++] = '/';
        gFolder[gFolderLength] = '\0';
    }
}

bool onTheDisk(int fd)
{
    if (gFolderLength == 0)
        return false;
    char link[64];
    char target[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const int saved = errno;
    const ssize_t n = readlink(link, target, sizeof target - 1);
    errno = saved;
    if (n <= 0)
        return false;
    target[n] = '\0';
    return strncmp(target, gFolder, gFolderLength) == 0;
}

// How many of the wanted bytes may be written to fd: all of them when fd is
// not on the disk or nothing is counted, what is left otherwise (taken from
// the budget), -1 with ENOSPC when nothing is.
long long take(int fd, size_t wanted)
{
    if (wanted == 0 || gFree.load() < 0 || !onTheDisk(fd))
        return static_cast<long long>(wanted);
    long long left = gFree.load();
    long long granted = 0;
    do {
        if (left <= 0) {
            errno = ENOSPC;
            return -1;
        }
        granted = left < static_cast<long long>(wanted) ? left : static_cast<long long>(wanted);
    } while (!gFree.compare_exchange_weak(left, left - granted));
    return granted;
}

// A written count smaller than granted goes back to the budget.
void giveBack(long long granted, ssize_t written)
{
    if (gFree.load() < 0)
        return;
    const long long unused = granted - (written < 0 ? 0 : written);
    if (unused > 0)
        gFree.fetch_add(unused);
}

// One write of count bytes to fd through call(n), which writes n of them.
template <typename Call>
ssize_t limited(int fd, size_t count, Call call)
{
    const long long granted = take(fd, count);
    if (granted < 0)
        return -1;
    const ssize_t written = call(static_cast<size_t>(granted));
    giveBack(granted, written);
    return written;
}

template <typename F>
F next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) void vireda_full_disk_set_free(long long bytes)
{
    gFree.store(bytes);
}

__attribute__((visibility("default"))) ssize_t write(int fd, const void* buffer, size_t count)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    return limited(fd, count, [&](size_t n) { return real(fd, buffer, n); });
}

__attribute__((visibility("default"))) ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    return limited(fd, count, [&](size_t n) { return real(fd, buffer, n, offset); });
}

__attribute__((visibility("default"))) ssize_t pwrite64(int fd, const void* buffer, size_t count, off64_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    return limited(fd, count, [&](size_t n) { return real(fd, buffer, n, offset); });
}

// Vectored writes are refused whole when they do not fit.
__attribute__((visibility("default"))) ssize_t writev(int fd, const struct iovec* parts, int count)
{
    static const auto real = next<ssize_t (*)(int, const struct iovec*, int)>("writev");
    size_t total = 0;
    for (int i = 0; i < count; ++i)
        total += parts[i].iov_len;
    const long long granted = take(fd, total);
    if (granted < 0)
        return -1;
    if (granted < static_cast<long long>(total)) {
        giveBack(granted, 0);
        errno = ENOSPC;
        return -1;
    }
    const ssize_t written = real(fd, parts, count);
    giveBack(granted, written);
    return written;
}

__attribute__((visibility("default"))) ssize_t sendfile(int out, int in, off_t* offset, size_t count)
{
    static const auto real = next<ssize_t (*)(int, int, off_t*, size_t)>("sendfile");
    return limited(out, count, [&](size_t n) { return real(out, in, offset, n); });
}

__attribute__((visibility("default"))) ssize_t sendfile64(int out, int in, off64_t* offset, size_t count)
{
    static const auto real = next<ssize_t (*)(int, int, off64_t*, size_t)>("sendfile64");
    return limited(out, count, [&](size_t n) { return real(out, in, offset, n); });
}

__attribute__((visibility("default"))) ssize_t copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset,
                                                               size_t count, unsigned int flags)
{
    static const auto real = next<ssize_t (*)(int, off64_t*, int, off64_t*, size_t, unsigned int)>("copy_file_range");
    return limited(out, count, [&](size_t n) { return real(in, inOffset, out, outOffset, n, flags); });
}

} // extern "C"
