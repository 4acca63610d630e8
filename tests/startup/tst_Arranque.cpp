#include "data/BaseDadosEstacao.h"
#include "startup/Arranque.h"
#include "startup/ModGlobalMain.h"
#include "support/EstacaoTeste.h"

#include <QtTest>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// The station's start: which databases it opens, the order of its last steps,
// and the end of a program that finds no database or cannot write it.
class TesteArranque : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The settings file names paths with {pasta} for the program folder. Files of
    // the folder: Pesagem.mdb (always), outra.mdb (a second station database),
    // estranha.mdb (not a database), ligacao.mdb (a link to Pesagem.mdb).
    void caminhos_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("principal");   // file the main connection opened
        QTest::addColumn<QString>("backup");      // file the backup connection opened, or empty
        QTest::addColumn<bool>("porDefeito");

        QTest::newRow("sem chaves") << QByteArray() << "Pesagem.mdb" << "" << false;
        QTest::newRow("cópia igual à principal")
            << QByteArray("[BaseDados]\nLocalizacao={pasta}/outra.mdb\n[BaseDadosBackup]\nLocalizacao={pasta}/outra.mdb\n")
            << "outra.mdb" << "" << false;
        QTest::newRow("só a principal noutro sítio: a cópia é a de origem")
            << QByteArray("[BaseDados]\nLocalizacao={pasta}/outra.mdb\n") << "outra.mdb" << "Pesagem.mdb" << false;
        QTest::newRow("cópia diferente")
            << QByteArray("[BaseDadosBackup]\nLocalizacao={pasta}/outra.mdb\n") << "Pesagem.mdb" << "outra.mdb" << false;
        QTest::newRow("cópia com outro nome do mesmo ficheiro")
            << QByteArray("[BaseDadosBackup]\nLocalizacao={pasta}/./sub/../Pesagem.mdb\n") << "Pesagem.mdb" << "" << false;
        QTest::newRow("cópia por ligação simbólica")
            << QByteArray("[BaseDadosBackup]\nLocalizacao={pasta}/ligacao.mdb\n") << "Pesagem.mdb" << "" << false;
        QTest::newRow("cópia que não existe: sem cópia")
            << QByteArray("[BaseDados]\nLocalizacao={pasta}/outra.mdb\n[BaseDadosBackup]\nLocalizacao={pasta}/falta.mdb\n")
            << "outra.mdb" << "" << false;
        QTest::newRow("cópia que não é base de dados: sem cópia, a principal fica")
            << QByteArray("[BaseDados]\nLocalizacao={pasta}/outra.mdb\n[BaseDadosBackup]\nLocalizacao={pasta}/estranha.mdb\n")
            << "outra.mdb" << "" << false;
        QTest::newRow("principal que não existe: a de origem, sem cópia")
            << QByteArray("[BaseDados]\nLocalizacao={pasta}/falta.mdb\n[BaseDadosBackup]\nLocalizacao={pasta}/outra.mdb\n")
            << "Pesagem.mdb" << "" << true;
        QTest::newRow("principal que não é base de dados")
            << QByteArray("[BaseDados]\nLocalizacao={pasta}/estranha.mdb\n") << "Pesagem.mdb" << "" << true;
        QTest::newRow("valor que transborda não mexe nos caminhos")
            << QByteArray("[BaseDadosBackup]\nLocalizacao={pasta}/outra.mdb\n[IndicadorB2]\nDivisao=1639\n")
            << "Pesagem.mdb" << "outra.mdb" << false;
    }
    void caminhos()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, principal);
        QFETCH(QString, backup);
        QFETCH(bool, porDefeito);

        EstacaoTeste t;
        BaseDadosEstacao::criar(t.caminho(QStringLiteral("outra.mdb")));
        escreverFicheiro(t.caminho(QStringLiteral("estranha.mdb")), "não sou uma base de dados");
        QVERIFY(QFile::link(t.caminho(QStringLiteral("Pesagem.mdb")), t.caminho(QStringLiteral("ligacao.mdb"))));
        QDir(t.pasta()).mkdir(QStringLiteral("sub"));
        if (!ini.isEmpty())
            t.escreverIni(ini.replace("{pasta}", t.pasta().toUtf8()));
        const QByteArray estranhaAntes = lerFicheiro(t.caminho(QStringLiteral("estranha.mdb")));
        t.estacao->Acesso.TentativasAcesso = 2;  // left from a previous run

        const ResultadoArranque r = ArrancarDados(*t.estacao);
        QVERIFY(r.baseDadosAberta);
        QCOMPARE(r.valoresFalhados.isEmpty(), !ini.contains("1639"));
        QCOMPARE(r.caminhoPorDefeito, porDefeito);
        QCOMPARE(QFileInfo(t.estacao->Bd->caminho()).fileName(), principal);
        QCOMPARE(t.estacao->temBackup() ? QFileInfo(t.estacao->BdBackup->caminho()).fileName() : QString(), backup);
        if (porDefeito)
            QCOMPARE(t.estacao->Def.BaseDadosBackup, t.estacao->Def.BaseDados);
        QCOMPARE(t.estacao->Acesso.TentativasAcesso, quint8(0));
        QVERIFY(t.mensagens.caixas.isEmpty());
        QVERIFY(!QFile::exists(t.caminho(QStringLiteral("falta.mdb"))));
        QCOMPARE(QFile::exists(t.caminho(QStringLiteral("Lorvane.ini"))), !ini.isEmpty());  // reading writes nothing
        QCOMPARE(lerFicheiro(t.caminho(QStringLiteral("estranha.mdb"))), estranhaAntes);
    }

    // The main window is loaded with the database open and the failed logins
    // cleared, then the login window is shown.
    void ordemDosPassos()
    {
        EstacaoTeste t;
        Estacao& e = *t.estacao;
        e.Acesso.TentativasAcesso = 2;  // left from a previous run
        QStringList passos;
        const int estado = ModGlobal::Main(e, {
            [&] { passos << QStringLiteral("carregar principal %1 %2").arg(e.Acesso.TentativasAcesso).arg(e.Bd != nullptr); },
            [&] { passos << QStringLiteral("mostrar acesso"); },
        });
        QCOMPARE(estado, 0);
        QCOMPARE(passos, (QStringList{"carregar principal 0 1", "mostrar acesso"}));
        QVERIFY(t.mensagens.caixas.isEmpty());
    }

    void semBaseDados()
    {
        EstacaoTeste t(false);
        t.escreverIni("[BaseDados]\nLocalizacao=" + t.caminho(QStringLiteral("falta.mdb")).toUtf8() + "\n");
        int janelas = 0;
        QCOMPARE(ModGlobal::Main(*t.estacao, {[&] { ++janelas; }, [&] { ++janelas; }}), 1);
        QCOMPARE(janelas, 0);
        QVERIFY(!t.estacao->Bd);
        QCOMPARE(t.mensagens.caixas.size(), 1);
        const MensagensFalsas::Caixa& caixa = t.mensagens.caixas.first();
        QCOMPARE(caixa.estilo, Estilo::Critico);
        QVERIFY(caixa.titulo.startsWith(QStringLiteral("Erro ")));
        QVERIFY(caixa.titulo.mid(5).toInt() != 0);
        QVERIFY(caixa.texto.startsWith(QStringLiteral("Não foi possível abrir a base de dados de pesagens\n")));
        QVERIFY(caixa.texto.contains(t.caminho(QStringLiteral("Pesagem.mdb"))));
        QVERIFY(caixa.texto.endsWith(u')'));
        QCOMPARE(QDir(t.pasta()).entryList(QDir::Files), QStringList{"Lorvane.ini"});
    }

    // A database the station cannot write ends the start with the open-failure
    // box, exit status 1 and the file untouched. Tests run as root, whom file
    // modes do not stop: the start runs in a child process that gives up root for
    // "nobody", so the modes and owners set here bind it as they bind an operator.
    // Run as another user, the modes alone do it.
    void soLeitura_data()
    {
        QTest::addColumn<bool>("ficheiroGravavel");
        QTest::addColumn<bool>("pastaGravavel");
        QTest::addColumn<int>("saida");  // 0 started, 1 refused as read-only
        QTest::newRow("ficheiro e pasta graváveis") << true << true << 0;
        QTest::newRow("ficheiro só de leitura") << false << true << 1;
        QTest::newRow("pasta só de leitura") << true << false << 1;
    }
    void soLeitura()
    {
        QFETCH(bool, ficheiroGravavel);
        QFETCH(bool, pastaGravavel);
        QFETCH(int, saida);
        EstacaoTeste t;
        const QString bd = t.caminho(QStringLiteral("Pesagem.mdb"));
        const bool root = ::geteuid() == 0;
        constexpr uid_t Ninguem = 65534;
        // Writable for the child: owned by it; read-only: root's (or, without root, the write bits taken away).
        const auto preparar = [&](const QString& caminho, bool gravavel, mode_t modo) {
            const QByteArray c = QFile::encodeName(caminho);
            if (root)
                QCOMPARE(::chown(c.constData(), gravavel ? Ninguem : 0, gravavel ? Ninguem : 0), 0);
            QCOMPARE(::chmod(c.constData(), gravavel ? modo : (modo & ~0222)), 0);
        };
        preparar(bd, ficheiroGravavel, 0644);
        preparar(t.pasta(), pastaGravavel, 0755);
        const QByteArray antes = lerFicheiro(bd);
        const QDateTime alterado = QFileInfo(bd).lastModified();

        const pid_t filho = ::fork();
        QVERIFY(filho >= 0);
        if (filho == 0) {
            if (root && (::setgid(Ninguem) != 0 || ::setuid(Ninguem) != 0))
                ::_exit(9);
            const int estado = ModGlobal::Main(*t.estacao, {});
            const bool soLeitura = t.mensagens.caixas.size() == 1 && t.mensagens.caixas[0].estilo == 16 &&
                                   t.mensagens.caixas[0].texto.contains(QStringLiteral("só de leitura"));
            ::_exit(estado == 0 && t.mensagens.caixas.isEmpty() ? 0 : estado == 1 && soLeitura ? 1 : 8);
        }
        int estado = 0;
        QCOMPARE(::waitpid(filho, &estado, 0), filho);
        ::chmod(QFile::encodeName(t.pasta()).constData(), 0700);  // so the folder can be removed
        QVERIFY(WIFEXITED(estado));
        QCOMPARE(WEXITSTATUS(estado), saida);
        QCOMPARE(lerFicheiro(bd), antes);
        QCOMPARE(QFileInfo(bd).lastModified(), alterado);
        QVERIFY(!QFileInfo::exists(bd + QStringLiteral("-journal")));
    }

    // The log says once at start when the program folder or the settings
    // file may be written by any user of the computer, and nothing else.
    void escritaPorTodos_data()
    {
        QTest::addColumn<int>("pastaModo");
        QTest::addColumn<int>("ficheiroModo");
        QTest::addColumn<QStringList>("diario");  // %1 the folder
        const QString pasta = QStringLiteral("the program folder %1 may be written by any user of the computer (mode ");
        const QString ficheiro =
            QStringLiteral("the settings file %1/Lorvane.ini may be written by any user of the computer (mode 0666)");
        QTest::newRow("nenhum") << 0755 << 0644 << QStringList();
        QTest::newRow("pasta")
            << 0777 << 0644
            << QStringList{pasta + QStringLiteral("0777 without the sticky bit: anyone may replace its files)")};
        QTest::newRow("ficheiro") << 0755 << 0666 << QStringList{ficheiro};
        QTest::newRow("ambos, pasta com o sticky bit")
            << 01777 << 0666
            << QStringList{pasta + QStringLiteral("1777 with the sticky bit: anyone may make the files it lacks)"),
                           ficheiro};
    }
    void escritaPorTodos()
    {
        QFETCH(int, pastaModo);
        QFETCH(int, ficheiroModo);
        QFETCH(QStringList, diario);
        EstacaoTeste t;
        t.escreverIni("[Geral]\n");
        QCOMPARE(::chmod(QFile::encodeName(t.pasta()).constData(), mode_t(pastaModo)), 0);
        QCOMPARE(::chmod(QFile::encodeName(t.caminho(QStringLiteral("Lorvane.ini"))).constData(), mode_t(ficheiroModo)),
                 0);
        for (QString& linha : diario)
            linha = linha.arg(t.pasta());

        static QStringList visto;
        visto.clear();
        const QtMessageHandler antes = qInstallMessageHandler([](QtMsgType, const QMessageLogContext& c, const QString& m) {
            if (qstrcmp(c.category, "zumarel.ficheiros") == 0)
                visto << m;
        });
        const ResultadoArranque r = ArrancarDados(*t.estacao);
        qInstallMessageHandler(antes);
        QVERIFY(r.baseDadosAberta);
        QCOMPARE(visto, diario);
    }
};

QTEST_GUILESS_MAIN(TesteArranque)
#include "tst_Arranque.moc"
