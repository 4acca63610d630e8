#include "startup/EscritaPorTodos.h"

#include "platform/ficheiros/ComumFicheiros.h"

#include <QFile>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace {

// The mode as chmod takes it ("1777").
QString modo(const struct stat& st)
{
    return QStringLiteral("%1").arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
}

// Whether any user of the computer may write the entry at `caminho`: each
// folder on its real path lets others search it, and the entry lets them
// write it (a folder, write in it). Only the mode's own bits count: an access
// control list's named users and groups are not anyone, and its entry for
// others is those bits.
bool escritaPorTodos(const QString& caminho, struct stat& st)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(QFile::encodeName(caminho).constData(), nullptr),
                                                            &std::free);
    if (!real)
        return false;
    const QByteArray entrada(real.get());
    for (qsizetype barra = entrada.indexOf('/'); barra >= 0; barra = entrada.indexOf('/', barra + 1)) {
        const QByteArray pasta = barra == 0 ? QByteArrayLiteral("/") : entrada.left(barra);
        if (::stat(pasta.constData(), &st) != 0 || !(st.st_mode & S_IXOTH))
            return false;
    }
    if (::stat(entrada.constData(), &st) != 0)
        return false;
    const mode_t precisa = S_ISDIR(st.st_mode) ? S_IWOTH | S_IXOTH : S_IWOTH;
    return (st.st_mode & precisa) == precisa;
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
