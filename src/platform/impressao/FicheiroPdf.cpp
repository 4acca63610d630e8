#include "platform/impressao/FicheiroPdf.h"

#include "platform/Erro.h"
#include "platform/impressao/NomesPdf.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
// The names after the first that a PDF tries before it gives up.
constexpr int OutrosNomes = 1000;
// What is kept back before it goes out in one write.
constexpr qsizetype Retencao = 64 * 1024;
// A PDF is anyone's whom the process's mask lets in; a print's file the station's alone.
constexpr mode_t ModoPdf = 0666;
constexpr mode_t ModoImpressao = 0600;
}  // namespace

QString nomePdf(const QString& base, int numero)
{
    return numero <= 1 ? base + QStringLiteral(".pdf") : QStringLiteral("%1-%2.pdf").arg(base).arg(numero);
}

FicheiroPdf::FicheiroPdf(const QString& pasta, const QString& base, int numero)
    : m_pasta(pasta),
      m_base(base),
      m_numero(numero)
{}

FicheiroPdf::FicheiroPdf(const QString& base, int numero)
    : FicheiroPdf(QFileInfo(nomePdf(base, numero)).absolutePath(), base, numero)
{}

std::unique_ptr<FicheiroPdf> FicheiroPdf::daImpressao(const QString& pasta)
{
    return std::unique_ptr<FicheiroPdf>(new FicheiroPdf(pasta, QString(), 0));
}

FicheiroPdf::~FicheiroPdf() = default;

bool FicheiroPdf::abrir()
{
    const bool impressao = m_base.isEmpty();
    const QByteArray pasta = QFile::encodeName(m_pasta);
    if (!impressao && ::mkdir(pasta.constData(), 0777) != 0 && errno != EEXIST)
        return falhar(errno);
    m_pastaAberta.fd = ::open(pasta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_pastaAberta.fd < 0)
        return falhar(errno);
    const QByteArray final =
        impressao ? QByteArray("zumarel-impressao") : QFile::encodeName(QFileInfo(nomePdf(m_base, m_numero)).fileName());
    if (const int e = impressao ? m_novo.criar(m_pastaAberta.fd, NomesPdf::nomeProvisorio(final), ModoImpressao)
                                : NomesPdf::criar(m_novo, m_pastaAberta.fd, final, ModoPdf))
        return falhar(e);
    // The file of a print is never seen by name: where it had to take one, it loses it at once.
    if (impressao)
        m_novo.desistir();
    m_retido.reserve(Retencao);
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 FicheiroPdf::writeData(const char* dados, qint64 tamanho)
{
    if (m_novo.fd() < 0 || !m_falha.isEmpty())
        return -1;
    if (m_retido.size() + tamanho > Retencao && !despejar())
        return -1;
    if (tamanho >= Retencao)
        return escrever(dados, tamanho) ? tamanho : -1;
    m_retido.append(dados, tamanho);
    return tamanho;
}

bool FicheiroPdf::despejar()
{
    if (m_novo.fd() < 0 || !m_falha.isEmpty())
        return false;
    const bool escrito = escrever(m_retido.constData(), m_retido.size());
    m_retido.resize(0);
    return escrito;
}

bool FicheiroPdf::escrever(const char* dados, qint64 tamanho)
{
    for (qint64 feito = 0; feito < tamanho;) {
        const ssize_t n = semInterrupcao([&] { return ::write(m_novo.fd(), dados + feito, size_t(tamanho - feito)); });
        if (n <= 0)
            return falhar(n < 0 ? errno : EIO);
        feito += n;
    }
    return true;
}

bool FicheiroPdf::concluir()
{
    if (!despejar())
        return false;
    if (m_base.isEmpty())
        return true;
    // On the disk before it has a name: a PDF found by its name is whole.
    if (semInterrupcao([&] { return ::fdatasync(m_novo.fd()); }) != 0)
        return falhar(errno);
    return nomear();
}

bool FicheiroPdf::nomear()
{
    // Once a way is missing here (no links, no rename that never replaces,
    // or the provisional name taken from the file), each name is made
    // exclusively and the file copied into it.
    bool copiar = false;
    for (int n = m_numero; n <= m_numero + OutrosNomes; ++n) {
        const QString nome = nomePdf(m_base, n);
        const QByteArray proprio = QFile::encodeName(QFileInfo(nome).fileName());
        int e = copiar ? EOPNOTSUPP : m_novo.nomear(proprio);
        if (e == EOPNOTSUPP || e == ENOENT) {
            copiar = true;
            e = NomesPdf::copiarExclusivo(m_novo.fd(), m_pastaAberta.fd, proprio, ModoPdf);
        }
        if (e == 0) {
            m_caminho = nome;
            m_novo.desistir();
            return true;
        }
        if (e != EEXIST)
            return falhar(e);
    }
    return falhar(EEXIST);
}

void FicheiroPdf::desistir()
{
    m_novo.desistir();
    m_retido.clear();
    // Without a name, the file goes with its last descriptor.
    m_novo.soltar();
}

bool FicheiroPdf::falhar(int numeroErrno)
{
    if (!m_falha.isEmpty())
        return false;
    const QString razao = Erros::razaoSistema(numeroErrno);
    m_falha = m_base.isEmpty()
                  ? QStringLiteral("Não foi possível escrever o ficheiro temporário da impressão, na pasta %1: %2")
                        .arg(m_pasta, razao)
                  : QStringLiteral("Não foi possível escrever o ficheiro %1: %2").arg(nomePdf(m_base, m_numero), razao);
    return false;
}
