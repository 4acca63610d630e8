#pragma once

#include <QList>
#include <QString>
#include <sys/types.h>

// Who the users and groups of this computer are, for the settings file's
// checks and messages.
namespace Utilizadores {

// The user's name, or its number where the user database has none.
QString nome(uid_t uid);

// The groups of a user as the user database lists them: its own and those it is a member of.
QList<gid_t> grupos(uid_t uid);

}  // namespace Utilizadores
