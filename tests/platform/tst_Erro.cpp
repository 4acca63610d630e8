#include "data/Passo.h"
#include "platform/Erro.h"
#include "support/Falsos.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// The reasons the database engine and the system give, met for real where
// they can be: Portuguese words first, the original text after them in brackets.
class TesteErro : public QObject
{
    Q_OBJECT

    QTemporaryDir pasta;

    // A connection to the folder's file, with no wait on a busy file.
    QSqlDatabase ligar(const QString& nome, const QString& modo)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        db.setDatabaseName(QStringLiteral("file:%1?mode=%2").arg(pasta.filePath(QStringLiteral("t.db")), modo));
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0;QSQLITE_OPEN_URI"));
        return db;
    }

private Q_SLOTS:
    void caixaDaBaseDeDados_data()
    {
        QTest::addColumn<QString>("falha");  // the statement that fails
        QTest::addColumn<QString>("modo");   // "": read and write; "ro": read-only; "ocupada": another connection writes; "texto": no database
        QTest::addColumn<QString>("razao");
        QTest::newRow("código repetido") << "INSERT INTO t (k) VALUES ('a')" << "" << "Já existe um registo com o mesmo valor [UNIQUE constraint failed: t.k]";
        QTest::newRow("tabela inexistente") << "SELECT * FROM x" << "" << "Instrução recusada pela base de dados [no such table: x]";
        QTest::newRow("só de leitura") << "INSERT INTO t (k) VALUES ('b')" << "ro" << "A base de dados só pode ser lida [attempt to write a readonly database]";
        QTest::newRow("ocupada por outra estação") << "INSERT INTO t (k) VALUES ('b')" << "ocupada" << "A base de dados está ocupada por outro utilizador [database is locked]";
        QTest::newRow("não é uma base de dados") << "SELECT * FROM sqlite_master" << "texto" << "O ficheiro não é uma base de dados [file is not a database]";
    }
    void caixaDaBaseDeDados()
    {
        QFETCH(QString, falha);
        QFETCH(QString, modo);
        QFile f(pasta.filePath(QStringLiteral("t.db")));
        f.remove();
        if (modo == u"texto")
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray(4096, 'x')) == 4096 && f.flush());
        {
            QSqlDatabase escrita = ligar(QStringLiteral("escrita"), QStringLiteral("rwc"));
            QVERIFY(escrita.open());
            QSqlQuery q(escrita);
            if (modo != u"texto")
                QVERIFY(q.exec(QStringLiteral("CREATE TABLE t (k TEXT UNIQUE)")) && q.exec(QStringLiteral("INSERT INTO t VALUES ('a')")));
            if (modo == u"ocupada")
                QVERIFY(q.exec(QStringLiteral("BEGIN IMMEDIATE")));
            QSqlDatabase db = ligar(QStringLiteral("falha"), modo == u"ro" ? QStringLiteral("ro") : QStringLiteral("rw"));
            QVERIFY(db.open());
            QSqlQuery r(db);
            QVERIFY(!r.exec(falha));
            QTEST(Erros::deSql(r.lastError()).descricao, "razao");
        }
        QSqlDatabase::removeDatabase(QStringLiteral("falha"));
        QSqlDatabase::removeDatabase(QStringLiteral("escrita"));
    }

    // A failure that is not the database's (memory, the libraries) still reads as Portuguese.
    void caixaDeOutraFalha()
    {
        MensagensFalsas mensagens;
        QVERIFY(!Passo(mensagens, QStringLiteral("Erro no acesso à tabela de pesagens"), [] { throw std::bad_alloc(); }));
        QCOMPARE(mensagens.caixas.value(0).texto,
                 QStringLiteral("Erro no acesso à tabela de pesagens\n\n(Memória insuficiente [std::bad_alloc])"));
    }

    // The refusals of the system's services (clock, power) as the clock dialog shows them.
    void recusaDeServico_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("mensagem");
        QTest::addColumn<QString>("razao");
        QTest::newRow("polkit, sem mensagem") << "org.freedesktop.PolicyKit1.Error.NotAuthorized" << "" << "Sem permissão [org.freedesktop.PolicyKit1.Error.NotAuthorized]";
        QTest::newRow("hora automática") << "org.freedesktop.timedate1.AutomaticTimeSyncEnabled" << "NTP on" << "A sincronização automática da hora (NTP) está ligada [NTP on]";
        QTest::newRow("serviço sem resposta") << "org.freedesktop.DBus.Error.Timeout" << "Timed out" << "O serviço do sistema não respondeu [Timed out]";
        QTest::newRow("outra recusa") << "org.example.Error.Other" << "Something failed" << "O serviço do sistema recusou o pedido [Something failed]";
    }
    void recusaDeServico()
    {
        QFETCH(QString, nome);
        QFETCH(QString, mensagem);
        QTEST(Erros::razaoServico(nome, mensagem), "razao");
    }
};

QTEST_GUILESS_MAIN(TesteErro)
#include "tst_Erro.moc"
