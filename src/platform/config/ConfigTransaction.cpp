#include "ConfigTransaction.h"

#include "StoreConnection.h"

ConfigTransaction::ConfigTransaction(std::shared_ptr<StoreConnection> connection)
    : m_connection(std::move(connection)), m_level(m_connection->beginWrite())
{
}

ConfigTransaction::ConfigTransaction(ConfigTransaction &&other) noexcept
    : m_connection(std::move(other.m_connection)), m_level(std::exchange(other.m_level, 0))
{
}

ConfigTransaction::~ConfigTransaction()
{
    if (m_level)
        m_connection->rollbackWrite(m_level);
}

void ConfigTransaction::commit()
{
    if (!m_level)
        return;
    m_connection->commitWrite(m_level);
    m_level = 0;
}
