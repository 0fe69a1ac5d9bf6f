#pragma once

#include <memory>

class StoreBackend;

// RAII scope of one store transaction: every write until commit() is one
// change; without commit() the writes are rolled back when the scope ends.
// Scopes nest; an inner scope's rollback undoes only its own writes.
class ConfigTransaction
{
public:
    explicit ConfigTransaction(std::shared_ptr<StoreBackend> backend);
    ConfigTransaction(ConfigTransaction &&other) noexcept;
    ConfigTransaction(const ConfigTransaction &) = delete;
    ConfigTransaction &operator=(const ConfigTransaction &) = delete;
    ConfigTransaction &operator=(ConfigTransaction &&) = delete;
    ~ConfigTransaction();

    void commit();

private:
    std::shared_ptr<StoreBackend> m_backend;
    int m_level = 0; // 0 once committed, rolled back or moved from
};
