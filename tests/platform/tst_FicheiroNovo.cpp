// A new file made with no name or under a provisional one, then named: never
// in place of an entry when it takes a name of its own, by a link or, on a
// file system without hard links, by a rename that never replaces; the
// reason a caller can act on when the file system has neither; and never a
// provisional name left behind when it goes unnamed. File systems that
// refuse links (FAT, some shares) are played by the kernel itself, in a
// child process whose calls it filters.
#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/FicheiroNovo.h"
#include "support/ChamadasRecusadas.h"
#include "support/EstacaoTeste.h"
#include "support/UtilizadoresTeste.h"

#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// From now on, this process's file system makes no hard links (EPERM, as
// FAT answers) and, unless `renomeia`, has no rename that never replaces
// (EINVAL, as some network file systems answer).
bool semLigacoes(bool renomeia)
{
    QList<std::pair<long, int>> recusadas{{__NR_linkat, EPERM}, {__NR_link, EPERM}};
    if (!renomeia)
        recusadas.append({__NR_renameat2, EINVAL});
    return recusarChamadas(recusadas);
}

}  // namespace

class TesteFicheiroNovo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A new file takes its name only while the name is free, whatever the
    // file system allows: EEXIST when another entry has it (left as it
    // was), EOPNOTSUPP where there is neither a link nor a rename that
    // never replaces. It never leaves its provisional name behind.
    void nomearSemSubstituir_data()
    {
        QTest::addColumn<bool>("semNome");    // the file system makes nameless files
        QTest::addColumn<QString>("sistema");  // "ligacoes"; "renomear": no hard links; "nenhum": neither
        QTest::addColumn<bool>("tomado");     // another entry has the name
        QTest::addColumn<int>("erro");
        QTest::newRow("sem nome") << true << "ligacoes" << false << 0;
        QTest::newRow("sem nome, nome tomado") << true << "ligacoes" << true << EEXIST;
        QTest::newRow("provisório") << false << "ligacoes" << false << 0;
        QTest::newRow("provisório, nome tomado") << false << "ligacoes" << true << EEXIST;
        QTest::newRow("provisório, sem ligações") << false << "renomear" << false << 0;
        QTest::newRow("provisório, sem ligações, nome tomado") << false << "renomear" << true << EEXIST;
        QTest::newRow("provisório, sem ligações nem renomear sem substituir") << false << "nenhum" << false << EOPNOTSUPP;
    }
    void nomearSemSubstituir()
    {
        QFETCH(bool, semNome);
        QFETCH(QString, sistema);
        QFETCH(bool, tomado);
        QFETCH(int, erro);
        QTemporaryDir raiz;
        const QString nome = raiz.filePath(QStringLiteral("relatorio.pdf"));
        if (tomado)
            escreverFicheiro(nome, "de outro\n");
        const QByteArray feito = comoUtilizador(QStringLiteral("root"), {}, [&]() -> QByteArray {
            Descritores::ficheirosSemNome = semNome;
            if (sistema != u"ligacoes" && !semLigacoes(sistema == u"renomear"))
                return "sem filtro";
            Descritor pasta;
            pasta.fd = ::open(QFile::encodeName(raiz.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            FicheiroNovo novo;
            if (const int e = novo.criar(pasta.fd, ".relatorio.pdf.novo", 0644))
                return "criar " + QByteArray::number(e);
            if (novo.provisorio().isEmpty() == !semNome || ::write(novo.fd(), "novo\n", 5) != 5)
                return "feito";
            const int e = novo.nomear("relatorio.pdf");
            // Still open to its writer, named or not.
            return QByteArray::number(e) + (::pwrite(novo.fd(), "N", 1, 0) == 1 ? "" : " fechado");
        });
        if (feito == "sem filtro")
            QSKIP("the kernel's call filter is not there");
        QCOMPARE(feito, QByteArray::number(erro));
        QCOMPARE(lerFicheiro(nome), tomado ? QByteArray("de outro\n") : erro == 0 ? QByteArray("Novo\n") : QByteArray());
        QCOMPARE(conteudoPasta(raiz.path()),
                 erro == 0 || tomado ? QStringList{QStringLiteral("relatorio.pdf")} : QStringList());
    }

    // Put in place of a name, a new file replaces whatever file is there in
    // one rename; given up, it loses its provisional name at once and stays
    // open to be written and read back.
    void substituirEDesistir_data()
    {
        QTest::addColumn<bool>("semNome");
        QTest::newRow("sem nome") << true;
        QTest::newRow("provisório") << false;
    }
    void substituirEDesistir()
    {
        QFETCH(bool, semNome);
        Descritores::ficheirosSemNome = semNome;
        const auto repor = qScopeGuard([] { Descritores::ficheirosSemNome = true; });
        QTemporaryDir raiz;
        const QString nome = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(nome, "antigo\n");
        Descritor pasta;
        pasta.fd = ::open(QFile::encodeName(raiz.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        {
            FicheiroNovo novo;
            QCOMPARE(novo.criar(pasta.fd, ".Lorvane.ini.novo", 0644), 0);
            QCOMPARE(::write(novo.fd(), "novo\n", 5), ssize_t(5));
            QCOMPARE(novo.substituir("Lorvane.ini"), 0);
            QVERIFY(novo.provisorio().isEmpty());
        }
        QCOMPARE(lerFicheiro(nome), QByteArray("novo\n"));
        QCOMPARE(conteudoPasta(raiz.path()), QStringList{QStringLiteral("Lorvane.ini")});
        FicheiroNovo impressao;
        QCOMPARE(impressao.criar(pasta.fd, ".impressao.novo", 0600), 0);
        impressao.desistir();
        QCOMPARE(conteudoPasta(raiz.path()), QStringList{QStringLiteral("Lorvane.ini")});
        QCOMPARE(::write(impressao.fd(), "pagina\n", 7), ssize_t(7));
        char lido[7];
        QCOMPARE(::pread(impressao.fd(), lido, sizeof lido, 0), ssize_t(7));
        QCOMPARE(QByteArray(lido, 7), QByteArray("pagina\n"));
    }
};

QTEST_GUILESS_MAIN(TesteFicheiroNovo)
#include "tst_FicheiroNovo.moc"
