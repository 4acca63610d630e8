#include "platform/impressao/FicheiroPdf.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"
#include "support/ProcessoTeste.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What ajudante_pdf writes: `n` bytes of the alphabet over and over.
QByteArray escritos(qsizetype n)
{
    QByteArray dados(n, '\0');
    for (qsizetype i = 0; i < n; ++i)
        dados[i] = char('a' + i % 26);
    return dados;
}

// A PDF file written by a process of its own on a file system without hard
// links or nameless files (ajudante_pdf), at the test's command.
class PdfSemLigacoes
{
public:
    PdfSemLigacoes(bool semRenomear, const QString& base, qint64 bytes)
    {
        terminarComOTeste(m_processo, SIGKILL);
        m_processo.start(QStringLiteral(ZUMAREL_AJUDANTE_PDF),
                         {semRenomear ? QStringLiteral("sem-renomear") : QStringLiteral("sem-ligacoes"), base,
                          QStringLiteral("1"), QString::number(bytes)});
    }
    ~PdfSemLigacoes()
    {
        m_processo.kill();
        m_processo.waitForFinished();
    }
    // What it said first: "aberto" once the file is made and written.
    QString aberto() { return linha(); }
    // Names it: "nome <path> <1 renamed, 0 copied>", or "falha <reason>".
    QString concluir()
    {
        m_processo.write("concluir\n");
        m_processo.closeWriteChannel();
        return linha();
    }
    // Ended of itself, after its answer.
    bool terminado() { return m_processo.waitForFinished(10000) && m_processo.exitStatus() == QProcess::NormalExit; }
    // Killed as a station can be, before its PDF is named.
    void matar()
    {
        m_processo.kill();
        m_processo.waitForFinished();
    }

private:
    QString linha()
    {
        while (!m_processo.canReadLine() && m_processo.waitForReadyRead(10000)) {
        }
        return QString::fromUtf8(m_processo.readLine()).trimmed();
    }

    QProcess m_processo;
};

#define ABERTO_OU_SALTAR(pdf)                                                                                          \
    do {                                                                                                               \
        const QString primeira = (pdf).aberto();                                                                       \
        if (primeira == u"sem filtro")                                                                                 \
            QSKIP("this system cannot refuse a process its links (seccomp)");                                          \
        QCOMPARE(primeira, QStringLiteral("aberto"));                                                                  \
    } while (false)

// The write calls this process has made so far.
qint64 chamadasEscrita()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& l : io.readAll().split('\n')) {
        if (l.startsWith("syscw:"))
            return l.mid(6).trimmed().toLongLong();
    }
    return -1;
}

QStringList nomes(const QString& pasta)
{
    return QDir(pasta).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

mode_t modo(const QString& caminho)
{
    struct stat st{};
    return ::lstat(QFile::encodeName(caminho).constData(), &st) == 0 ? st.st_mode : 0;
}

}  // namespace

// A PDF file as the station writes it, and the file of a print, on any file
// system and where the file system refuses what they need most: their
// names, their modes, what is left of a run killed, the writes they cost.
class TesteFicheiroPdf : public QObject
{
    Q_OBJECT

    QTemporaryDir m_pasta;
    QString pasta() const { return m_pasta.path(); }

private Q_SLOTS:
    void init()
    {
        for (const QString& n : nomes(pasta()))
            QFileInfo(pasta() + u'/' + n).isDir() && !QFileInfo(pasta() + u'/' + n).isSymLink()
                ? QDir(pasta() + u'/' + n).removeRecursively()
                : QFile::remove(pasta() + u'/' + n);
    }

    // A PDF takes its name only while it is free: a file put at that name while
    // the PDF was being written (by hand, or by another station sharing the
    // folder) is kept as it was, and the PDF takes the next free name, with or
    // without nameless files. Nothing else is left in the folder; a PDF
    // abandoned leaves nothing.
    void pdfNuncaSubstitui_data()
    {
        QTest::addColumn<bool>("semNome");       // the file system has nameless files
        QTest::addColumn<int>("numero");         // the name it was promised
        QTest::addColumn<QStringList>("outros"); // files that appear while it is written
        QTest::addColumn<QString>("nome");       // the name it takes; empty: abandoned
        for (const bool semNome : {true, false}) {
            const char* como = semNome ? "sem nome" : "com nome provisório";
            QTest::addRow("%s, livre", como) << semNome << 1 << QStringList() << "x.pdf";
            QTest::addRow("%s, tomado", como) << semNome << 1 << QStringList{"x.pdf"} << "x-2.pdf";
            QTest::addRow("%s, dois tomados", como) << semNome << 1 << QStringList{"x.pdf", "x-2.pdf"} << "x-3.pdf";
            QTest::addRow("%s, o segundo tomado", como) << semNome << 2 << QStringList{"x-2.pdf"} << "x-3.pdf";
            QTest::addRow("%s, abandonado", como) << semNome << 1 << QStringList{"x.pdf"} << "";
        }
    }

    void pdfNuncaSubstitui()
    {
        QFETCH(bool, semNome);
        QFETCH(int, numero);
        QFETCH(QStringList, outros);
        QFETCH(QString, nome);
        Descritores::ficheirosSemNome = semNome;
        const auto repor = qScopeGuard([] { Descritores::ficheirosSemNome = true; });
        const QDir d(pasta());
        {
            FicheiroPdf pdf(d.filePath(QStringLiteral("x")), numero);
            QVERIFY(pdf.abrir());
            QCOMPARE(pdf.write("%PDF-1.4 nosso"), 14);
            // Written meanwhile, where nobody had it.
            for (const QString& o : outros)
                escreverFicheiro(d.filePath(o), "de outro: " + o.toUtf8());
            if (nome.isEmpty()) {
                pdf.desistir();
                QVERIFY(!pdf.concluir() && pdf.caminho().isEmpty());
            } else {
                QVERIFY(pdf.concluir());
                QCOMPARE(pdf.caminho(), d.filePath(nome));
            }
            QVERIFY(pdf.falha().isEmpty());
        }
        for (const QString& o : outros)
            QCOMPARE(lerFicheiro(d.filePath(o)), "de outro: " + o.toUtf8());
        QStringList esperados = outros;
        if (!nome.isEmpty()) {
            QCOMPARE(lerFicheiro(d.filePath(nome)), QByteArray("%PDF-1.4 nosso"));
            esperados << nome;
        }
        esperados.sort();
        QCOMPARE(d.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), esperados);
    }

    // The station's own file of a print has no name, ever, in the temporary
    // folder (with nameless files or without): a kill leaves nothing; it is read
    // back whole, and nobody else may read it.
    void ficheiroDaImpressaoSemNome_data()
    {
        QTest::addColumn<bool>("semNome");
        QTest::newRow("sem nome") << true;
        QTest::newRow("sem ficheiros sem nome") << false;
    }

    void ficheiroDaImpressaoSemNome()
    {
        QFETCH(bool, semNome);
        Descritores::ficheirosSemNome = semNome;
        const auto repor = qScopeGuard([] { Descritores::ficheirosSemNome = true; });
        const QString temporaria = m_pasta.filePath(QStringLiteral("temporaria"));
        QVERIFY(QDir().mkpath(temporaria));
        const auto ficheiro = FicheiroPdf::daImpressao(temporaria);
        QVERIFY(ficheiro->abrir());
        const QByteArray texto(300000, 'p');
        QCOMPARE(ficheiro->write(texto), texto.size());
        QVERIFY(QDir(temporaria).isEmpty());
        QVERIFY(ficheiro->concluir());
        QVERIFY(QDir(temporaria).isEmpty() && ficheiro->caminho().isEmpty());
        // The station's alone: a print holds the weighings' data.
        struct stat st{};
        QCOMPARE(::fstat(ficheiro->descritor(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0600));
        QByteArray lido(texto.size() + 1, '\0');
        QCOMPARE(::pread(ficheiro->descritor(), lido.data(), size_t(lido.size()), 0), ssize_t(texto.size()));
        QCOMPARE(lido.left(texto.size()), texto);
    }

    // Where the file system has no hard links and no nameless files, a PDF
    // is named by a rename that does not replace; where it has no such
    // rename either, by making its name exclusively and copying it there. A
    // name taken while it was written is kept as it was, and the PDF takes
    // the next free one. Either way the PDF is whole, of the mode every PDF
    // has, and nothing else of it is left.
    void nomeSemLigacoes_data()
    {
        QTest::addColumn<bool>("semRenomear");
        QTest::addColumn<QStringList>("outros");  // put at its names while it is written
        QTest::addColumn<QString>("nome");
        QTest::newRow("renomeado") << false << QStringList() << "x.pdf";
        QTest::newRow("renomeado, nome tomado") << false << QStringList{"x.pdf"} << "x-2.pdf";
        QTest::newRow("copiado") << true << QStringList() << "x.pdf";
        QTest::newRow("copiado, dois nomes tomados") << true << QStringList{"x.pdf", "x-2.pdf"} << "x-3.pdf";
    }
    void nomeSemLigacoes()
    {
        QFETCH(bool, semRenomear);
        QFETCH(QStringList, outros);
        QFETCH(QString, nome);
        const qint64 bytes = 300000;
        // No mask: the mode the file is made with is the mode it has.
        const mode_t mascara = ::umask(0);
        const auto repor = qScopeGuard([mascara] { ::umask(mascara); });
        PdfSemLigacoes pdf(semRenomear, pasta() + QStringLiteral("/x"), bytes);
        ABERTO_OU_SALTAR(pdf);
        for (const QString& o : outros)
            escreverFicheiro(pasta() + u'/' + o, "de outro: " + o.toUtf8());
        QCOMPARE(pdf.concluir(), QStringLiteral("nome %1/%2 %3").arg(pasta(), nome).arg(semRenomear ? 0 : 1));
        QCOMPARE(lerFicheiro(pasta() + u'/' + nome), escritos(bytes));
        for (const QString& o : outros)
            QCOMPARE(lerFicheiro(pasta() + u'/' + o), "de outro: " + o.toUtf8());
        QStringList todos = QStringList(outros) << nome;
        todos.sort();
        QCOMPARE(nomes(pasta()), todos);
        QCOMPARE(modo(pasta() + u'/' + nome) & 07777, mode_t(0666));
    }

    // A provisional name that someone took from the PDF while it was written
    // (another file put there) is left to that file, as it is: the PDF is
    // named by a copy of its own.
    void provisorioTomado()
    {
        PdfSemLigacoes pdf(false, pasta() + QStringLiteral("/x"), 1000);
        ABERTO_OU_SALTAR(pdf);
        const QStringList provisorios = nomes(pasta());
        QCOMPARE(provisorios.size(), 1);
        const QString provisorio = pasta() + u'/' + provisorios[0];
        escreverFicheiro(pasta() + QStringLiteral("/outro"), "de outro");
        QVERIFY(::rename(QFile::encodeName(pasta() + QStringLiteral("/outro")).constData(), QFile::encodeName(provisorio).constData()) == 0);
        QCOMPARE(pdf.concluir(), QStringLiteral("nome %1/x.pdf 0").arg(pasta()));
        QVERIFY(pdf.terminado());
        QCOMPARE(lerFicheiro(pasta() + QStringLiteral("/x.pdf")), escritos(1000));
        QCOMPARE(lerFicheiro(provisorio), QByteArray("de outro"));
        QCOMPARE(nomes(pasta()), (QStringList{provisorios[0], QStringLiteral("x.pdf")}));
    }

    // When no way of naming works here, the PDF fails with the reason of the
    // way that failed last (a full disk while it is copied), never with the
    // link the file system does not have; nothing of it is left.
    void nenhumaManeiraDeNomear()
    {
        DiscoPequeno disco;
        if (!disco.ok())
            QSKIP("a small file system of its own needs root");
        PdfSemLigacoes pdf(true, disco.caminho(QStringLiteral("x")), 150000);
        ABERTO_OU_SALTAR(pdf);
        QCOMPARE(pdf.concluir(), QStringLiteral("falha Não foi possível escrever o ficheiro %1: Não há espaço livre no disco "
                                                "[No space left on device]")
                                     .arg(disco.caminho(QStringLiteral("x.pdf"))));
        QVERIFY(pdf.terminado());
        QCOMPARE(nomes(disco.pasta()), QStringList());
    }

    // A provisional PDF that a killed run left goes with the next run in the
    // same folder; nothing else that looks like one: another run's that
    // lives, another user's, a link, a folder, a file of more than one
    // name, a name no run makes.
    void abandonadosDeOutraCorrida()
    {
        const QString p = pasta();
        PdfSemLigacoes morto(false, p + QStringLiteral("/x"), 1000);
        ABERTO_OU_SALTAR(morto);
        morto.matar();
        const QStringList deixados = nomes(p);
        QCOMPARE(deixados.size(), 1);
        QVERIFY(deixados[0].startsWith(QStringLiteral(".x.pdf.novo-")));
        PdfSemLigacoes vivo(false, p + QStringLiteral("/x"), 1000);
        ABERTO_OU_SALTAR(vivo);
        QStringList vivos = nomes(p);
        vivos.removeOne(deixados[0]);
        QCOMPARE(vivos.size(), 1);

        const QString sufixo = QStringLiteral(".pdf.novo-0123456789abc");
        escreverFicheiro(p + QStringLiteral("/.alheio") + sufixo, "de outro utilizador");
        QCOMPARE(::chown(QFile::encodeName(p + QStringLiteral("/.alheio") + sufixo).constData(), 65534, 65534), 0);
        escreverFicheiro(p + QStringLiteral("/alvo"), "alvo");
        QVERIFY(QFile::link(p + QStringLiteral("/alvo"), p + QStringLiteral("/.ligacao") + sufixo));
        QVERIFY(QDir().mkdir(p + QStringLiteral("/.pasta") + sufixo));
        escreverFicheiro(p + QStringLiteral("/.dois") + sufixo, "dois nomes");
        QCOMPARE(::link(QFile::encodeName(p + QStringLiteral("/.dois") + sufixo).constData(),
                        QFile::encodeName(p + QStringLiteral("/dois")).constData()),
                 0);
        escreverFicheiro(p + QStringLiteral("/.copia.pdf.novo-backup"), "à mão");
        const QStringList outros = nomes(p);

        PdfSemLigacoes seguinte(false, p + QStringLiteral("/x"), 1000);
        ABERTO_OU_SALTAR(seguinte);
        QCOMPARE(seguinte.concluir(), QStringLiteral("nome %1/x.pdf 1").arg(p));
        QStringList esperados = outros;
        esperados.removeOne(deixados[0]);
        esperados << QStringLiteral("x.pdf");
        esperados.sort();
        QCOMPARE(nomes(p), esperados);
        // The run that lives goes on, and names its own.
        QCOMPARE(vivo.concluir(), QStringLiteral("nome %1/x-2.pdf 1").arg(p));
        QVERIFY(!QFileInfo::exists(p + u'/' + vivos[0]));
    }

    // What a PDF writer writes goes out in blocks, and at each page the run
    // checks: a long listing costs a few write calls a page, not one for
    // each of the writer's small pieces.
    void escritoEmBlocos()
    {
        if (chamadasEscrita() < 0)
            QSKIP("/proc/self/io cannot be read");
        constexpr int Paginas = 200;
        FicheiroPdf ficheiro(pasta() + QStringLiteral("/blocos"), 1);
        QVERIFY(ficheiro.abrir());
        const qint64 antes = chamadasEscrita();
        {
            QPdfWriter pdf(&ficheiro);
            QPainter pintor(&pdf);
            for (int p = 0; p < Paginas; ++p) {
                if (p > 0) {
                    QVERIFY(ficheiro.despejar());
                    pdf.newPage();
                }
                for (int l = 0; l < 60; ++l)
                    pintor.drawText(100, 200 + l * 150, QStringLiteral("Linha %1 da página %2: 12 500 kg").arg(l).arg(p));
            }
        }
        QVERIFY(ficheiro.concluir());
        const qint64 chamadas = chamadasEscrita() - antes;
        const qint64 tamanho = QFileInfo(ficheiro.caminho()).size();
        QVERIFY2(chamadas <= Paginas * 2 + tamanho / (64 * 1024) + 10,
                 qPrintable(QStringLiteral("%1 write calls for %2 pages, %3 bytes").arg(chamadas).arg(Paginas).arg(tamanho)));
        QCOMPARE(QFileInfo(ficheiro.caminho()).fileName(), QStringLiteral("blocos.pdf"));
        QVERIFY(lerFicheiro(ficheiro.caminho()).startsWith("%PDF"));
    }
};

QTEST_MAIN(TesteFicheiroPdf)
#include "tst_FicheiroPdf.moc"
