#include "BenchTree.h"

#include <QtGlobal>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace BenchTree {

QString Path()
{
    const QString tree = qEnvironmentVariable("VELMORA_TREE", QStringLiteral(VELMORA_TREE_DEFAULT));
    return tree.endsWith(QLatin1Char('/')) ? tree : tree + QLatin1Char('/');
}

namespace {
bool missed = false;

bool Check(const char* ratio, double measured, double bound, bool atMost)
{
    const bool ok = atMost ? measured <= bound : measured >= bound;
    std::printf("%s: %.3g, bound %s %.3g: %s\n", ratio, measured, atMost ? "at most" : "at least", bound,
                ok ? "met" : "MISSED");
    std::fflush(stdout);
    if (!ok)
        std::fprintf(stderr, "FAILED: %s is %.3g, beyond its bound of %.3g\n", ratio, measured, bound);
    missed = missed || !ok;
    return ok;
}
} // namespace

bool CheckAtMost(const char* ratio, double measured, double bound) { return Check(ratio, measured, bound, true); }
bool CheckAtLeast(const char* ratio, double measured, double bound) { return Check(ratio, measured, bound, false); }
void Fail(const char* what)
{
    std::printf("FAILED: %s\n", what);
    std::fflush(stdout);
    std::fprintf(stderr, "FAILED: %s\n", what);
    missed = true;
}
qint64 ReadWithSystemCalls(const std::vector<QByteArray>& paths)
{
    static std::vector<char> buffer(1 << 20);
    qint64 bytes = 0;
    for (const QByteArray& path : paths) {
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        ssize_t got;
        while ((got = ::read(fd, buffer.data(), buffer.size())) > 0)
            bytes += got;
        ::close(fd);
    }
    return bytes;
}

int ExitStatus() { return missed ? 1 : 0; }

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

} // namespace BenchTree
