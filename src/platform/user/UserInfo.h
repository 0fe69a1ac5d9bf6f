#pragma once

#include <QString>

// What the host knows of one user.
struct UserInfo
{
    QString GroupName;
    QString FirstName;
    QString LastName;
};
