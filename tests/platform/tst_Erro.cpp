#include "data/Passo.h"
#include "platform/Erro.h"
#include "support/Falsos.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// The reasons the database engine gives, met for real on a real file, as the
// operator reads them in the database error box: Portuguese words first, the
// engine's own text after them in brackets.
class TesteErro : public QObject
{
    Q_OBJECT

    QTemporaryDir pasta;

    // A connection to a file of the folder, with no wait on a busy file.
    QSqlDatabase ligar(const QString& nome, const QString& opcoes = {})
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        db.setDatabaseName(opcoes.isEmpty() ? pasta.filePath(QStringLiteral("t.db"))
                                            : QStringLiteral("file:%1?%2").arg(pasta.filePath(QStringLiteral("t.db")), opcoes));
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0") + (opcoes.isEmpty() ? QString() : QStringLiteral(";QSQLITE_OPEN_URI")));
        return db;
    }

private Q_SLOTS:
    void caixaDaBaseDeDados_data()
    {
        QTest::addColumn<QString>("preparar");  // statements on the file first, split at ';'
        QTest::addColumn<QString>("falha");     // the statement that fails
        QTest::addColumn<QString>("modo");      // "": read and write; "ro": read-only; "ocupada": another connection writes
        QTest::addColumn<QString>("caixa");
        const QString tabela = QStringLiteral("CREATE TABLE t (k TEXT UNIQUE, n TEXT NOT NULL DEFAULT '', c INTEGER CHECK (c < 10));INSERT INTO t (k) VALUES ('a')");
        QTest::newRow("código repetido") << tabela << "INSERT INTO t (k) VALUES ('a')" << ""
            << "Erro no acesso à tabela de viaturas\n\n(Já existe um registo com o mesmo valor [UNIQUE constraint failed: t.k])";
        QTest::newRow("valor obrigatório em falta") << tabela << "INSERT INTO t (k, n) VALUES ('b', NULL)" << ""
            << "Erro no acesso à tabela de viaturas\n\n(Falta um valor obrigatório [NOT NULL constraint failed: t.n])";
        QTest::newRow("regra da tabela") << tabela << "INSERT INTO t (k, c) VALUES ('b', 12)" << ""
            << "Erro no acesso à tabela de viaturas\n\n(Valor recusado pelas regras da tabela [CHECK constraint failed: c < 10])";
        QTest::newRow("tabela inexistente") << tabela << "SELECT * FROM x" << ""
            << "Erro no acesso à tabela de viaturas\n\n(Instrução recusada pela base de dados [no such table: x])";
        QTest::newRow("só de leitura") << tabela << "INSERT INTO t (k) VALUES ('b')" << "ro"
            << "Erro no acesso à tabela de viaturas\n\n(A base de dados só pode ser lida [attempt to write a readonly database])";
        QTest::newRow("ocupada por outra estação") << tabela << "INSERT INTO t (k) VALUES ('b')" << "ocupada"
            << "Erro no acesso à tabela de viaturas\n\n(A base de dados está ocupada por outro utilizador [database is locked])";
        QTest::newRow("não é uma base de dados") << "" << "SELECT * FROM sqlite_master" << "texto"
            << "Erro no acesso à tabela de viaturas\n\n(O ficheiro não é uma base de dados [file is not a database])";
    }
    void caixaDaBaseDeDados()
    {
        QFETCH(QString, preparar);
        QFETCH(QString, falha);
        QFETCH(QString, modo);
        QFile::remove(pasta.filePath(QStringLiteral("t.db")));
        if (modo == u"texto") {
            QFile f(pasta.filePath(QStringLiteral("t.db")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        {
            QSqlDatabase escrita = ligar(QStringLiteral("escrita"));
            QVERIFY(escrita.open());
            QSqlQuery q(escrita);
            for (const QString& sql : preparar.split(u';', Qt::SkipEmptyParts))
                QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
            if (modo == u"ocupada")
                QVERIFY(q.exec(QStringLiteral("BEGIN IMMEDIATE")));
            QSqlDatabase db = ligar(QStringLiteral("falha"), modo == u"ro" ? QStringLiteral("mode=ro") : QString());
            QVERIFY(db.open());
            MensagensFalsas mensagens;
            QVERIFY(!Passo(mensagens, QStringLiteral("Erro no acesso à tabela de viaturas"), [&] {
                QSqlQuery f(db);
                if (!f.exec(falha))
                    Erros::lancarSql(f.lastError());
            }));
            QCOMPARE(mensagens.caixas.size(), 1);
            QTEST(mensagens.caixas[0].texto, "caixa");
            QCOMPARE(mensagens.caixas[0].estilo, 48);
            QVERIFY(mensagens.caixas[0].titulo.startsWith(QStringLiteral("Erro ")));
            db.close();
            escrita.close();
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
        QTest::newRow("sem autorização") << "org.freedesktop.DBus.Error.AccessDenied" << "Permission denied"
                                         << "Sem permissão [Permission denied]";
        QTest::newRow("polkit") << "org.freedesktop.PolicyKit1.Error.NotAuthorized" << ""
                                << "Sem permissão [org.freedesktop.PolicyKit1.Error.NotAuthorized]";
        QTest::newRow("hora automática") << "org.freedesktop.timedate1.AutomaticTimeSyncEnabled" << "Automatic time synchronization is enabled"
                                         << "A sincronização automática da hora (NTP) está ligada [Automatic time synchronization is enabled]";
        QTest::newRow("serviço ausente") << "org.freedesktop.DBus.Error.ServiceUnknown" << "The name is not activatable"
                                         << "O serviço do sistema não respondeu [The name is not activatable]";
        QTest::newRow("outra recusa") << "org.example.Error.Other" << "Something failed"
                                      << "O serviço do sistema recusou o pedido [Something failed]";
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
