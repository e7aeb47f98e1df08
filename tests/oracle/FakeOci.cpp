#include "FakeOci.h"

#include "support/TestEnvironment.h"

#include <QFile>
#include <dlfcn.h>
#include <stdexcept>

namespace fakeoci {
namespace {

QString inBinDir(const char *file)
{
    return QString::fromStdString(testenv::binDir()) + u'/' + QLatin1String(file);
}

// The test keeps the library loaded for its whole run, so the session's own
// dlopen gets the same copy and the log survives a session's unloading.
void *symbol(const char *name)
{
    static void *handle = [] {
        void *h = dlopen(QFile::encodeName(fullLibrary()).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!h)
            throw std::runtime_error(dlerror());
        return h;
    }();
    return dlsym(handle, name);
}

} // namespace

QString fullLibrary() { return inBinDir("libfake_oci_full.so"); }
QString noOconOrolLibrary() { return inBinDir("libfake_oci_no_ocon_orol.so"); }
QString noOgetpiLibrary() { return inBinDir("libfake_oci_no_ogetpi.so"); }
QString missingLibrary() { return inBinDir("libfake_oci_not_there.so"); }

std::string log()
{
    return reinterpret_cast<const char *(*)()>(symbol("fake_oci_log"))();
}

void reset()
{
    reinterpret_cast<void (*)()>(symbol("fake_oci_reset"))();
}

void fail(const char *name, int code)
{
    reinterpret_cast<void (*)(const char *, int)>(symbol("fake_oci_fail"))(name, code);
}

void addColumn(const char *name, int claimedLength, int type, int size, int precision, int scale)
{
    reinterpret_cast<void (*)(const char *, int, int, int, int, int)>(symbol("fake_oci_add_column"))(
        name, claimedLength, type, size, precision, scale);
}

std::string lastSql()
{
    return reinterpret_cast<const char *(*)()>(symbol("fake_oci_last_sql"))();
}

} // namespace fakeoci
