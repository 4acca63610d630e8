#include "platform/impressao/LugaresImpressao.h"

#include <QDir>
#include <QFile>
#include <cups/http.h>
#include <sys/stat.h>

namespace {

// A configuration file is a few lines; anything longer is read no further.
constexpr qint64 TamanhoMaximo = 256 * 1024;

// The value of the last line "<chave> <value>" of a configuration file
// (keys without regard to case, # comments); empty when none or no file.
QString valorConfiguracao(const QString& ficheiro, QLatin1StringView chave)
{
    QFile f(ficheiro);
    if (ficheiro.isEmpty() || !f.open(QIODevice::ReadOnly))
        return {};
    QString valor;
    for (const QByteArray& linha : f.read(TamanhoMaximo).split('\n')) {
        const QString l = QString::fromUtf8(linha).simplified();
        const qsizetype espaco = l.indexOf(u' ');
        if (espaco > 0 && !l.startsWith(u'#') && QStringView(l).left(espaco).compare(chave, Qt::CaseInsensitive) == 0)
            valor = l.mid(espaco + 1);
    }
    return valor;
}

QString naPasta(const QString& pasta, const QString& nome)
{
    return pasta.isEmpty() ? QString() : QDir(pasta).filePath(nome);
}

// A queue's name without its instance ("fila/rascunho" is the queue "fila").
QString semInstancia(const QString& destino)
{
    return destino.section(u'/', 0, 0).trimmed();
}

}  // namespace

QString ServidorCups::nome() const
{
    return local() ? anfitriao : QStringLiteral("%1:%2").arg(anfitriao).arg(porta);
}

LugaresImpressao LugaresImpressao::daMaquina()
{
    LugaresImpressao l;
    for (const char* nome : {"CUPS_SERVER", "CUPS_ENCRYPTION", "IPP_PORT", "LPDEST", "PRINTER"}) {
        if (qEnvironmentVariableIsSet(nome))
            l.ambiente.insert(QString::fromLatin1(nome), qEnvironmentVariable(nome));
    }
    l.casa = qEnvironmentVariableIsSet("HOME") ? qEnvironmentVariable("HOME") : QDir::homePath();
    l.raizServidor = qEnvironmentVariable("CUPS_SERVERROOT", QStringLiteral("/etc/cups"));
    l.sockets = {QStringLiteral("/run/cups/cups.sock"), QStringLiteral("/var/run/cups/cups.sock")};
    return l;
}

std::optional<ServidorCups> LugaresImpressao::servidor() const
{
    const QString clienteProprio = naPasta(casa, QStringLiteral(".cups/client.conf"));
    const QString clienteSistema = naPasta(raizServidor, QStringLiteral("client.conf"));
    const auto configurado = [&](QLatin1StringView chave, const QString& doAmbiente) {
        if (!ambiente.value(doAmbiente).trimmed().isEmpty())
            return ambiente.value(doAmbiente).trimmed();
        const QString proprio = valorConfiguracao(clienteProprio, chave);
        return proprio.isEmpty() ? valorConfiguracao(clienteSistema, chave) : proprio;
    };
    ServidorCups s;
    QString nome = configurado(QLatin1StringView("ServerName"), QStringLiteral("CUPS_SERVER"));
    if (nome.isEmpty()) {
        for (const QString& socket : sockets) {
            struct stat st{};
            if (::stat(QFile::encodeName(socket).constData(), &st) == 0 && S_ISSOCK(st.st_mode))
                return ServidorCups{socket, 0, HTTP_ENCRYPTION_NEVER};
        }
        return std::nullopt;
    }
    if (nome.startsWith(u'/'))
        return ServidorCups{nome, 0, HTTP_ENCRYPTION_NEVER};
    // "host", "host:port" or "[address]:port", and perhaps "/version=…" after.
    nome = nome.section(u'/', 0, 0);
    const qsizetype fimEndereco = nome.startsWith(u'[') ? nome.indexOf(u']') : -1;
    const qsizetype doisPontos = nome.lastIndexOf(u':');
    const bool comPorta = doisPontos > fimEndereco && (fimEndereco >= 0 || nome.count(u':') == 1);
    s.anfitriao = comPorta ? nome.left(doisPontos) : nome;
    if (fimEndereco >= 0)
        s.anfitriao = s.anfitriao.mid(1, fimEndereco - 1);
    bool numero = false;
    s.porta = comPorta ? nome.mid(doisPontos + 1).toInt(&numero) : ambiente.value(QStringLiteral("IPP_PORT")).toInt(&numero);
    if (!numero || s.porta <= 0 || s.porta > 65535)
        s.porta = 631;
    const QString cifra = configurado(QLatin1StringView("Encryption"), QStringLiteral("CUPS_ENCRYPTION")).toLower();
    s.cifra = cifra == u"never"      ? HTTP_ENCRYPTION_NEVER
              : cifra == u"required" ? HTTP_ENCRYPTION_REQUIRED
              : cifra == u"always"   ? HTTP_ENCRYPTION_ALWAYS
                                     : HTTP_ENCRYPTION_IF_REQUESTED;
    return s;
}

QString LugaresImpressao::filaNomeada() const
{
    if (const QString lpdest = semInstancia(ambiente.value(QStringLiteral("LPDEST"))); !lpdest.isEmpty())
        return lpdest;
    if (const QString printer = semInstancia(ambiente.value(QStringLiteral("PRINTER"))); !printer.isEmpty() && printer != u"lp")
        return printer;
    for (const QString& opcoes : {naPasta(casa, QStringLiteral(".cups/lpoptions")), naPasta(raizServidor, QStringLiteral("lpoptions"))}) {
        // "Default fila[/instância] opções…"
        if (const QString fila = semInstancia(valorConfiguracao(opcoes, QLatin1StringView("Default")).section(u' ', 0, 0));
            !fila.isEmpty())
            return fila;
    }
    return {};
}
