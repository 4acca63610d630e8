#include "startup/EscritaPorTodos.h"

#include "platform/ficheiros/GravacaoFicheiro.h"

#include <QFile>
#include <sys/stat.h>

namespace {

// The mode as chmod takes it ("1777").
QString modo(const struct stat& st)
{
    return QStringLiteral("%1").arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
}

// Others' write bit: an access control list's entry for others is the mode's own bits.
bool escritaPorTodos(const QString& caminho, struct stat& st)
{
    return ::stat(QFile::encodeName(caminho).constData(), &st) == 0 && (st.st_mode & S_IWOTH);
}

}  // namespace

void AvisarEscritaPorTodos(const QString& pastaPrograma, const QString& ficheiroDefinicoes)
{
    struct stat st
    {
    };
    if (escritaPorTodos(pastaPrograma, st))
        qCWarning(diarioFicheiros).noquote()
            << "the program folder" << pastaPrograma << "may be written by any user of the computer (mode" << modo(st)
            << ((st.st_mode & S_ISVTX) ? "with the sticky bit: anyone may make the files it lacks)"
                                       : "without the sticky bit: anyone may replace its files)");
    if (escritaPorTodos(ficheiroDefinicoes, st))
        qCWarning(diarioFicheiros).noquote() << "the settings file" << ficheiroDefinicoes
                                             << "may be written by any user of the computer (mode" << modo(st) + u')';
}
