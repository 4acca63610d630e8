#include "platform/LigacaoBd.h"

#include "platform/Erro.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <atomic>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

// The driver of each connection points at its LigacaoBd.
const char* const PropLigacao = "zumarelLigacao";

QString novoNomeLigacao()
{
    static std::atomic<int> contador{0};
    return QStringLiteral("zumarel-%1").arg(++contador);
}

// SQLite opens a file it may not write read-only without a word, and in a
// folder where its journal cannot be made a write fails only when it comes.
// A write rolled back at once finds both now and leaves the file as it was.
void provarEscrita(const QSqlDatabase& base)
{
    QSqlQuery q(base);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        Erros::lancarSql(q.lastError());
    const int versao = q.value(0).toInt();
    q.finish();
    if (!q.exec(QStringLiteral("BEGIN")))
        Erros::lancarSql(q.lastError());
    const bool escrita = q.exec(QStringLiteral("PRAGMA user_version = %1").arg(versao));
    const QSqlError erro = q.lastError();
    q.exec(QStringLiteral("ROLLBACK"));
    if (escrita)
        return;
    Erro e = Erros::deSql(erro);
    // Another station writing at this moment says nothing about this one.
    if ((e.numero & 0xff) == 5 || (e.numero & 0xff) == 6)
        return;
    e.descricao = QStringLiteral("Base de dados só de leitura: ") + e.descricao;
    throw e;
}

// True when Qt's driver runs the SQLite this program links: only then may
// the program's own calls be made on the driver's connection (another copy
// of the library would take it for something else).
bool mesmaBiblioteca(const QSqlDatabase& base)
{
    QSqlQuery q(base);
    if (!q.exec(QStringLiteral("SELECT sqlite_version(), sqlite_source_id()")) || !q.next())
        return false;
    return q.value(0).toString() == QLatin1String(sqlite3_libversion())
           && q.value(1).toString() == QLatin1String(sqlite3_sourceid());
}

// Called by SQLite every few thousand steps of a statement: non-zero stops it.
int pararPedido(void* parar)
{
    return (*static_cast<const std::function<bool()>*>(parar))() ? 1 : 0;
}

}  // namespace

LigacaoBd::LigacaoBd(QString caminho, QString nome) : m_caminho(std::move(caminho)), m_nome(std::move(nome)) {}

LigacaoBd::~LigacaoBd()
{
    m_preparadas.esvaziar();  // before the file closes under them
    {
        QSqlDatabase base = QSqlDatabase::database(m_nome, false);
        if (QSqlDriver* driver = base.driver())
            driver->setProperty(PropLigacao, QVariant());
        base.close();
    }
    QSqlDatabase::removeDatabase(m_nome);
}

QSqlDatabase LigacaoBd::db() const
{
    return QSqlDatabase::database(m_nome, false);
}

std::function<bool()> LigacaoBd::interromperQuando(std::function<bool()> parar)
{
    std::function<bool()> anterior = std::exchange(m_parar, std::move(parar));
    if (!m_mesmaBiblioteca)
        return anterior;
    const QSqlDatabase base = db();
    const QVariant v = base.driver() ? base.driver()->handle() : QVariant();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return anterior;
    sqlite3* ligacao = *static_cast<sqlite3* const*>(v.constData());
    if (!ligacao)
        return anterior;
    constexpr int Passos = 4000;
    if (m_parar)
        sqlite3_progress_handler(ligacao, Passos, pararPedido, &m_parar);
    else
        sqlite3_progress_handler(ligacao, 0, nullptr, nullptr);
    return anterior;
}

LigacaoBd::Interrupcao::Interrupcao(LigacaoBd& ligacao, std::function<bool()> parar) : m_ligacao(ligacao)
{
    // m_anterior is set before any statement can ask.
    m_anterior = m_ligacao.interromperQuando(
        [this, parar = std::move(parar)] { return parar() || (m_anterior && m_anterior()); });
}

LigacaoBd::Interrupcao::~Interrupcao()
{
    m_ligacao.interromperQuando(std::move(m_anterior));
}

LigacaoBd* LigacaoBd::de(const QSqlDatabase& db)
{
    const QSqlDriver* driver = db.driver();
    return driver ? static_cast<LigacaoBd*>(driver->property(PropLigacao).value<void*>()) : nullptr;
}

ConsultasPreparadas* LigacaoBd::preparadasDe(const QSqlDatabase& db)
{
    LigacaoBd* ligacao = de(db);
    return ligacao ? &ligacao->m_preparadas : nullptr;
}

std::unique_ptr<LigacaoBd> LigacaoBd::ligar(const QString& caminho, bool podeCriar)
{
    const QString absoluto = QFileInfo(caminho).absoluteFilePath();
    const QString nome = novoNomeLigacao();
    std::unique_ptr<LigacaoBd> ligacao(new LigacaoBd(caminho, nome));
    QSqlDatabase base = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
    // A URI with mode=rw makes SQLite itself refuse a missing file, so a wrong
    // path can never leave an empty database behind.
    QString uri = QUrl::fromLocalFile(absoluto).toString(QUrl::FullyEncoded);
    uri += podeCriar ? QStringLiteral("?mode=rwc") : QStringLiteral("?mode=rw");
    base.setDatabaseName(uri);
    base.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!base.open())
        Erros::lancarSql(base.lastError());
    base.driver()->setProperty(PropLigacao, QVariant::fromValue(static_cast<void*>(ligacao.get())));
    ligacao->m_mesmaBiblioteca = mesmaBiblioteca(base);
    return ligacao;
}

std::unique_ptr<LigacaoBd> LigacaoBd::abrir(const QString& caminho, const Exigencias& exigencias)
{
    if (!QFileInfo(caminho).isFile())
        Erros::lancar(Erros::FicheiroNaoEncontrado,
                      Erros::descricaoPadrao(Erros::FicheiroNaoEncontrado) + QStringLiteral(" ") + caminho);
    auto ligacao = ligar(caminho, false);
    QSqlDatabase base = ligacao->db();
    {
        // SQLite reads the file lazily: only a first statement tells whether it is a database.
        QSqlQuery q(base);
        if (!q.exec(QStringLiteral("PRAGMA application_id")))
            Erros::lancarSql(q.lastError());
        const int id = q.next() ? q.value(0).toInt() : 0;
        if (id != 0 && id != exigencias.idAplicacao)
            Erros::lancar(Erros::BaseDadosInvalida);

        if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
            Erros::lancarSql(q.lastError());
        QStringList existentes;
        while (q.next())
            existentes << q.value(0).toString();
        for (const QString& t : exigencias.tabelas) {
            if (!existentes.contains(t, Qt::CaseInsensitive))
                Erros::lancar(Erros::BaseDadosInvalida, Erros::descricaoPadrao(Erros::BaseDadosInvalida)
                                                            + QStringLiteral(": falta a tabela %1").arg(t));
        }
    }
    if (exigencias.escrita)
        provarEscrita(base);
    return ligacao;
}

std::unique_ptr<LigacaoBd> LigacaoBd::criar(const QString& caminho)
{
    return ligar(caminho, true);
}

bool mesmoFicheiro(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    struct stat sa
    {
    }, sb{};
    const QByteArray ca = QFile::encodeName(a), cb = QFile::encodeName(b);
    if (::stat(ca.constData(), &sa) == 0 && ::stat(cb.constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}
