#include "platform/gui/FicheiroPdf.h"

#include "platform/Erro.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
// The names after the first that a PDF tries before it gives up.
constexpr int OutrosNomes = 1000;
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

FicheiroPdf::~FicheiroPdf()
{
    tirarProvisorio();
}

bool FicheiroPdf::abrir()
{
    const bool impressao = m_base.isEmpty();
    const QByteArray pasta = QFile::encodeName(m_pasta);
    if (!impressao && ::mkdir(pasta.constData(), 0777) != 0 && errno != EEXIST)
        return falhar(errno);
    m_pastaAberta.fd = ::open(pasta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_pastaAberta.fd < 0)
        return falhar(errno);
    // A provisional name no other run can have, so no other run removes it.
    const QByteArray provisorio =
        '.' + (impressao ? QByteArray("zumarel-impressao") : QFile::encodeName(QFileInfo(nomePdf(m_base, m_numero)).fileName()))
        + ".novo-" + QByteArray::number(QRandomGenerator::system()->generate64(), 36);
    if (const int e =
            Descritores::criarSemNome(m_pastaAberta.fd, provisorio, impressao ? 0600 : 0666, m_ficheiro, m_provisorio))
        return falhar(e);
    // The file of a print is never seen by name: where it had to take one, it loses it at once.
    if (impressao)
        tirarProvisorio();
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 FicheiroPdf::writeData(const char* dados, qint64 tamanho)
{
    if (m_ficheiro.fd < 0 || !m_falha.isEmpty())
        return -1;
    for (qint64 feito = 0; feito < tamanho;) {
        const ssize_t n = semInterrupcao([&] { return ::write(m_ficheiro.fd, dados + feito, size_t(tamanho - feito)); });
        if (n <= 0) {
            falhar(n < 0 ? errno : EIO);
            return -1;
        }
        feito += n;
    }
    return tamanho;
}

bool FicheiroPdf::concluir()
{
    if (m_ficheiro.fd < 0 || !m_falha.isEmpty())
        return false;
    if (m_base.isEmpty())
        return true;
    // On the disk before it has a name: a PDF found by its name is whole.
    if (semInterrupcao([&] { return ::fdatasync(m_ficheiro.fd); }) != 0)
        return falhar(errno);
    for (int n = m_numero; n <= m_numero + OutrosNomes; ++n) {
        const QString nome = nomePdf(m_base, n);
        const int e = Descritores::nomear(m_ficheiro.fd, m_pastaAberta.fd, QFile::encodeName(QFileInfo(nome).fileName()));
        if (e == 0) {
            m_caminho = nome;
            tirarProvisorio();
            return true;
        }
        if (e != EEXIST)
            return falhar(e);
    }
    return falhar(EEXIST);
}

void FicheiroPdf::desistir()
{
    tirarProvisorio();
    // Without a name, the file goes with its last descriptor.
    m_ficheiro.fechar();
}

void FicheiroPdf::tirarProvisorio()
{
    if (!m_provisorio.isEmpty())
        ::unlinkat(m_pastaAberta.fd, m_provisorio.constData(), 0);
    m_provisorio.clear();
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
