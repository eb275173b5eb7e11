#include "plugin/npqvarunner/QVUnpackBudget.h"

#include "plugin/package/QVPackageExtractor.h"

#include <cstdlib>

namespace
{
std::uint64_t Total()
{
    const char* text = std::getenv("QV_UNPACK_LIMIT");
    if (text == nullptr || *text == '\0')
        return QVPackageExtractor::DefaultByteLimit;
    std::uint64_t value = 0;
    for (const char* c = text; *c != '\0'; ++c)
    {
        const unsigned digit = static_cast<unsigned>(*c - '0');
        if (digit > 9 || value > (UINT64_MAX - digit) / 10)
            return QVPackageExtractor::DefaultByteLimit;
        value = value * 10 + digit;
    }
    return value;
}
}  // namespace

QVUnpackBudget& QVUnpackBudget::Process()
{
    static QVUnpackBudget budget;
    return budget;
}

std::uint64_t QVUnpackBudget::Available()
{
    const std::uint64_t total = Total();
    std::lock_guard<std::mutex> lock(m_lock);
    return total > m_charged ? total - m_charged : 0;
}

void QVUnpackBudget::Charge(std::uint64_t bytes)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_charged += bytes;
}

void QVUnpackBudget::Return(std::uint64_t bytes)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_charged -= bytes < m_charged ? bytes : m_charged;
}
