#pragma once

// What a user may do in the teaching-file window. A user without a record
// has no rights.
struct UserRights
{
    bool EditAllowed = false;
};
