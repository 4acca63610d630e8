#include "platform/ficheiros/DescricaoEntrada.h"

#include "platform/ficheiros/Utilizadores.h"

#include <QFile>
#include <QList>
#include <cstring>

namespace DescricaoEntrada {

QString tipo(mode_t modo)
{
    if (S_ISDIR(modo))
        return QStringLiteral("uma pasta");
    if (S_ISLNK(modo))
        return QStringLiteral("uma ligação simbólica");
    if (S_ISSOCK(modo))
        return QStringLiteral("um socket");
    if (S_ISFIFO(modo))
        return QStringLiteral("um FIFO");
    if (S_ISCHR(modo) || S_ISBLK(modo))
        return QStringLiteral("um dispositivo");
    return QStringLiteral("um ficheiro");
}

QString tipoEDono(const struct stat& estado)
{
    return tipo(estado.st_mode) + QStringLiteral(", de ") + Utilizadores::nome(estado.st_uid);
}

QString naPasta(const QByteArray& pasta, const QByteArray& nome, const struct stat* estado)
{
    QString texto = QStringLiteral("Há na pasta ") + QFile::decodeName(pasta) + QStringLiteral(" uma entrada ")
                    + QFile::decodeName(nome);
    if (estado)
        texto += QStringLiteral(" (") + tipoEDono(*estado) + u')';
    return texto;
}

QString semPermissaoLer(int e)
{
    return QStringLiteral("Sem permissão para ler [") + QString::fromLocal8Bit(std::strerror(e)) + u']';
}

QString paraMostrar(const QString& texto, qsizetype maximo)
{
    const QList<uint> letras = texto.toUcs4();
    const bool cortado = letras.size() > maximo;
    const qsizetype n = cortado ? maximo - 1 : letras.size();
    QString r;
    for (qsizetype i = 0; i < n; ++i) {
        const char32_t c = letras[i];
        if (QChar::isPrint(c))
            r.append(QStringView(QChar::fromUcs4(c)));
        else
            r.append(u'?');
    }
    if (cortado)
        r.append(u'…');
    return r;
}

}  // namespace DescricaoEntrada
