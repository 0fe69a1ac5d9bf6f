#pragma once

#include "StoreBackend.h"

class PgConnection;

// The store in a PostgreSQL database (see PgSql for its layout).
class PgBackend : public StoreBackend
{
public:
    explicit PgBackend(std::shared_ptr<PgConnection> connection);
    ~PgBackend() override;

    QString name() const override;
    QString location() const override;
    bool hasStore() override;
    std::optional<ConfigValue> value(QByteArrayView key) override;
    bool exists(QByteArrayView key) override;
    std::optional<QString> storedName(QByteArrayView key) override;
    QStringList childNames(QByteArrayView key) override;
    int childCount(QByteArrayView key) override;
    void write(const ConfigPath &key, const ConfigValue &value) override;
    void removeBelow(const ConfigPath &key, bool keepKey) override;
    void rename(const ConfigPath &key, const ConfigPath &renamed) override;
    void replaceChild(const ConfigPath &parent, const QString &oldFoldedName,
                      const FreeConfigTree &tree) override;
    std::shared_ptr<FreeConfigTree> load(const ConfigPath &key) override;
    int beginWrite() override;
    void commitWrite(int level) override;
    void rollbackWrite(int level) noexcept override;

private:
    std::shared_ptr<PgConnection> m_connection;
};
