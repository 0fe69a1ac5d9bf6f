#include "ConfigTransaction.h"

#include "StoreBackend.h"

ConfigTransaction::ConfigTransaction(std::shared_ptr<StoreBackend> backend)
    : m_backend(std::move(backend)), m_level(m_backend->beginWrite())
{
}

ConfigTransaction::ConfigTransaction(ConfigTransaction &&other) noexcept
    : m_backend(std::move(other.m_backend)), m_level(std::exchange(other.m_level, 0))
{
}

ConfigTransaction::~ConfigTransaction()
{
    if (m_level)
        m_backend->rollbackWrite(m_level);
}

void ConfigTransaction::commit()
{
    if (!m_level)
        return;
    m_backend->commitWrite(m_level);
    m_level = 0;
}
