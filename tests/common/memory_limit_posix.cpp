#include "memory_limit.h"

#include <QProcessEnvironment>

#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
#define KVT_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KVT_ADDRESS_SANITIZER 1
#endif
#endif

namespace kvt::testing {

ChildMemoryLimit::ChildMemoryLimit(QProcess &process, int megabytes)
{
#ifdef KVT_ADDRESS_SANITIZER
    QProcessEnvironment environment = process.processEnvironment();
    if (environment.isEmpty())
        environment = QProcessEnvironment::systemEnvironment();
    const QString options = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       options + (options.isEmpty() ? "" : ":") + QStringLiteral("hard_rss_limit_mb=%1").arg(megabytes));
    process.setProcessEnvironment(environment);
#else
    const rlim_t bytes = rlim_t(megabytes) * 1024 * 1024;
    process.setChildProcessModifier([bytes] {
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_AS, &limit);
    });
#endif
    m_applies = true;
}

} // namespace kvt::testing
