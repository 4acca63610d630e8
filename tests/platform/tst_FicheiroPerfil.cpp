#include "platform/FicheiroPerfil.h"
#include "platform/Windows1252.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// Everything in a folder, hidden files included.
QStringList conteudoPasta(const QString& pasta)
{
    return QDir(pasta).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
}  // namespace

class TesteFicheiroPerfil : public QObject
{
    Q_OBJECT

    QTemporaryDir pasta;
    QTemporaryDir pastaEstado;  // the state folder, where a save into the file itself keeps the old text
    QString caminho() const { return pasta.filePath(QStringLiteral("Lorvane.ini")); }

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_STATE_HOME", QFile::encodeName(pastaEstado.path())); }
    // Whatever a test did, no save was left half done.
    void cleanup() { QCOMPARE(conteudoPasta(pastaEstado.filePath("zumarel")), QStringList()); }

    void leitura_data()
    {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QString>("seccao");
        QTest::addColumn<QString>("chave");
        QTest::addColumn<QString>("esperado");  // "<ausente>" when the key is missing

        const QByteArray base = "; comentário\n[IndicadorB1]\nPorta=7\nConfiguracao=9600,n,8,1\nVazio=\n"
                                "Aspas=\"  com espaços \"\nPlicas='x'\nEspacos =  valor com espaços   \n"
                                "Comentario=1 ; COM1\n[Outra]\nPorta=9\n[IndicadorB1]\nPorta=8\n";
        QTest::newRow("primeira secção de um nome, sem distinção de maiúsculas")
            << base << "indicadorb1" << "PORTA" << "7";
        QTest::newRow("outra secção") << base << "Outra" << "porta" << "9";
        QTest::newRow("configuração lida inteira") << base << "IndicadorB1" << "Configuracao" << "9600,n,8,1";
        QTest::newRow("valor vazio") << base << "IndicadorB1" << "Vazio" << "";
        QTest::newRow("aspas retiradas, interior mantido") << base << "IndicadorB1" << "Aspas" << "  com espaços ";
        QTest::newRow("plicas retiradas") << base << "IndicadorB1" << "Plicas" << "x";
        QTest::newRow("só aspas") << QByteArray("[S]\nK=\"\"\n") << "S" << "K" << "";
        QTest::newRow("valor e chave aparados") << base << "IndicadorB1" << "Espacos" << "valor com espaços";
        QTest::newRow("sem comentários no fim da linha") << base << "IndicadorB1" << "Comentario" << "1 ; COM1";
        QTest::newRow("chave ausente") << base << "IndicadorB1" << "Divisao" << "<ausente>";
        QTest::newRow("secção ausente") << base << "IndicadorB2" << "Porta" << "<ausente>";
        QTest::newRow("comentário não é chave") << base << "IndicadorB1" << "; comentário" << "<ausente>";
        QTest::newRow("finais de linha CRLF") << QByteArray("[Geral]\r\nDuasPesagens=True\r\n") << "Geral"
                                              << "DuasPesagens" << "True";
        QTest::newRow("UTF-8, acentos sem distinção de maiúsculas")
            << QByteArray("[IndicadorB1]\nEndereçoIP=10.0.0.5\n") << "INDICADORB1" << "ENDEREÇOIP" << "10.0.0.5";
        QTest::newRow("Latin-1 com acentos") << QByteArray("[IndicadorB1]\nComunica\xe7\xe3oIP=True\n") << "IndicadorB1"
                                             << "ComunicaçãoIP" << "True";
        QTest::newRow("Windows-1252: euro, travessão, aspas curvas")
            << QByteArray("[Geral]\nNota=\x80 5 \x96 \x93" "caixa\x94 \x91x\x92\n") << "Geral" << "Nota"
            << "€ 5 – “caixa” ‘x’";
        QTest::newRow("Windows-1252: chave com cedilha") << QByteArray("[IndicadorB1]\nEndere\xe7" "oIP=\x84\n")
                                                         << "indicadorb1" << "ENDEREÇOIP" << "„";
        QTest::newRow("UTF-8 com BOM") << QByteArray("\xEF\xBB\xBF[Acesso]\nOperador=João\n") << "Acesso" << "Operador"
                                       << "João";
    }
    void leitura()
    {
        QFETCH(QByteArray, conteudo);
        QFETCH(QString, seccao);
        QFETCH(QString, chave);
        QFETCH(QString, esperado);
        escreverFicheiro(caminho(), conteudo);
        QCOMPARE(FicheiroPerfil(caminho()).valor(seccao, chave).value_or(QStringLiteral("<ausente>")), esperado);
    }

    // The code page against the system's own converter, where Qt has one:
    // every byte reads as the same character and writes back as itself.
    void codigoWindows1252()
    {
        QByteArray todos(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            todos[b] = char(b);
        const QString texto = Windows1252::paraTexto(todos);
        QCOMPARE(Windows1252::paraBytes(texto).value_or(QByteArray()), todos);
        QCOMPARE(texto.mid(0x80, 2), QStringLiteral("€\u0081"));
        QVERIFY(!Windows1252::paraBytes(u"\u0085").has_value());  // a control character the code page has not
        QStringDecoder sistema("windows-1252");
        if (!sistema.isValid())
            QSKIP("this Qt has no converter for windows-1252");
        QCOMPARE(texto, QString(sistema.decode(todos)));
    }

    void ficheiroAusente()
    {
        const QString c = pasta.filePath(QStringLiteral("nao-existe.ini"));
        const FicheiroPerfil ini(c);
        QVERIFY(!ini.valor(QStringLiteral("Geral"), QStringLiteral("DuasPesagens")).has_value());
        QCOMPARE(ini.ler(QStringLiteral("Geral"), QStringLiteral("X"), QStringLiteral("defeito")), u"defeito"_qs);
        QVERIFY(!QFile::exists(c));  // reading never makes the file

        // Values and defaults alike are cut to 254 characters.
        QCOMPARE(ini.ler(QStringLiteral("Geral"), QStringLiteral("X"), QString(300, u'a')).size(), 254);
        escreverFicheiro(caminho(), "[Geral]\nX=" + QByteArray(300, 'b') + "\n");
        QCOMPARE(FicheiroPerfil(caminho()).ler(QStringLiteral("Geral"), QStringLiteral("X"), {}), QString(254, u'b'));
    }

    // One write of Seccao/Chave=valor keeps the rest of the file byte for byte.
    void escrita_data()
    {
        QTest::addColumn<QByteArray>("antes");  // "-": no file
        QTest::addColumn<QString>("seccao");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QByteArray>("depois");
        QTest::newRow("resto mantido, CRLF e nome da chave incluídos")
            << QByteArray("; Definições\r\n[Acesso]\r\noperador=3\r\n; nota\r\nlinha sem igual\r\n\r\n[Geral]\r\nX=1\r\n")
            << "Acesso" << "5"
            << QByteArray("; Definições\r\n[Acesso]\r\noperador=5\r\n; nota\r\nlinha sem igual\r\n\r\n[Geral]\r\nX=1\r\n");
        QTest::newRow("chave nova no fim da sua secção") << QByteArray("[acesso]\nPorta=1\n\n[Geral]\nX=1\n") << "Acesso"
                                                         << "10"
                                                         << QByteArray("[acesso]\nPorta=1\nOperador=10\n\n[Geral]\nX=1\n");
        QTest::newRow("secção nova no fim") << QByteArray("[Geral]\nX=1\n") << "NrCopias" << "12"
                                            << QByteArray("[Geral]\nX=1\n\n[NrCopias]\nOperador=12\n");
        QTest::newRow("ficheiro novo") << QByteArray("-") << "Acesso" << "João" << QByteArray("[Acesso]\nOperador=João\n");
        QTest::newRow("quebras de linha tiradas") << QByteArray("[Acesso]\nOperador=a\n[Geral]\nX=1\n") << "Acesso"
                                                  << "/d\r\n[Geral]\nx" << QByteArray("[Acesso]\nOperador=/d[Geral]x\n[Geral]\nX=1\n");
        QTest::newRow("Latin-1 fica Latin-1") << QByteArray("[Acesso]\nOperador=Jo\xe3o\n") << "Acesso" << "Conceição"
                                              << QByteArray("[Acesso]\nOperador=Concei\xe7\xe3o\n");
        QTest::newRow("UTF-8 fica UTF-8") << QByteArray("[Acesso]\nOperador=João\n") << "Acesso" << "Conceição"
                                          << QByteArray("[Acesso]\nOperador=Conceição\n");
        QTest::newRow("Windows-1252 fica Windows-1252, as outras linhas byte a byte")
            << QByteArray("; Pre\x80" "o \x81\x8d\r\n[Geral]\r\nNota=\x93" "caixa\x94 \x96 \x80\r\n[Acesso]\r\nOperador=Jo\xe3o\r\n")
            << "Acesso" << "Zé € – ‘x’ “y” …"
            << QByteArray("; Pre\x80" "o \x81\x8d\r\n[Geral]\r\nNota=\x93" "caixa\x94 \x96 \x80\r\n[Acesso]\r\n"
                          "Operador=Z\xe9 \x80 \x96 \x91x\x92 \x93y\x94 \x85\r\n");
        QTest::newRow("Windows-1252 com um carácter que não cabe passa a UTF-8")
            << QByteArray("[Acesso]\nOperador=Jo\xe3o\nOutro=\xe7\x80\x96\n") << "Acesso" << "Zé ✓"
            << QByteArray("[Acesso]\nOperador=Zé ✓\nOutro=ç€–\n");
    }
    void escrita()
    {
        QFETCH(QByteArray, antes);
        QFETCH(QString, seccao);
        QFETCH(QString, valor);
        QFETCH(QByteArray, depois);
        QFile::remove(caminho());
        if (antes != "-")
            escreverFicheiro(caminho(), antes);
        FicheiroPerfil ini(caminho());
        QVERIFY(ini.escrever(seccao, QStringLiteral("Operador"), valor));
        QCOMPARE(lerFicheiro(caminho()), depois);
        QCOMPARE(ini.valor(seccao.toUpper(), QStringLiteral("operador")).value(), valor.remove(u'\r').remove(u'\n'));
        QCOMPARE(FicheiroPerfil(caminho()).valor(seccao, QStringLiteral("Operador")).value(), valor);
    }

    // A key new to the file, written twice in one replacement, is one line with the last value.
    void escritasNumaSoVez()
    {
        escreverFicheiro(caminho(), "[S]\nX=1\n[T]\n");
        QVERIFY(FicheiroPerfil(caminho()).escrever({{"S", "A", "1"}, {"S", "B", "2"}, {"s", "a", "3"}}));
        QCOMPARE(lerFicheiro(caminho()), QByteArray("[S]\nX=1\nA=3\nB=2\n[T]\n"));
    }

    void escritaRecusadaDevolveFalso()
    {
        FicheiroPerfil ini(pasta.filePath(QStringLiteral("pasta-que-nao-existe/Lorvane.ini")));
        QVERIFY(!ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("x")));
        QVERIFY2(ini.razaoFalha().startsWith(QStringLiteral("A pasta ou o ficheiro não existe")),
                 qPrintable(ini.razaoFalha()));
    }

    // A write the system refuses part-way (a full disk, a file grown past the
    // size allowed) leaves the file exactly as it was, and nothing beside it,
    // and says why in Portuguese; the next write that can go through does.
    // A file with a second name is written in place: there a full disk is
    // found when the room for the text is reserved, before any byte changes,
    // and a file grown past the size allowed part-way gets its old text back.
    void escritaFalhadaDeixaOFicheiro_data()
    {
        QTest::addColumn<QString>("meio");      // "limite": the process's file size limit; "disco": a full tmpfs
        QTest::addColumn<QByteArray>("antes");  // "-": no file
        QTest::addColumn<bool>("ligado");       // a second name for the file
        QTest::addColumn<QString>("razao");
        const QByteArray ficheiro = "; Posto 1\r\n[BaseDados]\r\nLocalizacao=/srv/Pesagem.mdb\r\n[Acesso]\r\nOperador=Ana\r\n";
        const QString grande = QStringLiteral("O ficheiro excede o tamanho máximo permitido");
        QTest::newRow("ficheiro maior do que o permitido") << "limite" << ficheiro << false << grande;
        QTest::newRow("sem ficheiro: nenhum fica") << "limite" << QByteArray("-") << false << grande;
        QTest::newRow("disco cheio") << "disco" << ficheiro << false << "Não há espaço livre no disco";
        QTest::newRow("no próprio ficheiro, maior do que o permitido") << "limite" << ficheiro << true << grande;
        QTest::newRow("no próprio ficheiro, disco cheio") << "disco" << ficheiro << true << "Não há espaço livre no disco";
    }
    void escritaFalhadaDeixaOFicheiro()
    {
        QFETCH(QString, meio);
        QFETCH(QByteArray, antes);
        QFETCH(bool, ligado);
        QFETCH(QString, razao);
        const DiscoPequeno disco;
        if (meio == u"disco" && !disco.ok())
            QSKIP("mounting a small file system needs root");
        const QString sitio = meio == u"disco" ? disco.pasta() : pasta.path();
        const QString c = QDir(sitio).filePath(QStringLiteral("Lorvane.ini"));
        const QString segundo = QDir(sitio).filePath(QStringLiteral("Posto2.ini"));
        QFile::remove(c);
        QFile::remove(segundo);
        if (antes != "-")
            escreverFicheiro(c, antes);
        if (ligado)
            QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(segundo).constData()), 0);
        if (meio == u"disco")
            disco.encher();
        const QStringList pastaAntes = conteudoPasta(sitio);

        FicheiroPerfil ini(c);
        // Longer than a page of the disk, which the file's first page would hold.
        const QString valor(20000, u'9');
        // The first line changed too, so a text cut short differs from the old one from its start.
        const QList<FicheiroPerfil::Escrita> escritas{{QStringLiteral("BaseDados"), QStringLiteral("Localizacao"), QStringLiteral("/x")},
                                                      {QStringLiteral("NrCopias"), QStringLiteral("Chave0"), valor}};
        std::optional<LimiteTamanhoFicheiros> limite;
        // Room for the copy of the old text a save in place keeps, not for the new text.
        if (meio == u"limite")
            limite.emplace(1000);
        QVERIFY(!ini.escrever(escritas));
        limite.reset();
        QVERIFY2(ini.razaoFalha().startsWith(razao + QStringLiteral(" [")), qPrintable(ini.razaoFalha()));
        QCOMPARE(lerFicheiro(c), antes == "-" ? QByteArray() : antes);
        QCOMPARE(conteudoPasta(sitio), pastaAntes);
        QCOMPARE(ini.valor(QStringLiteral("Acesso"), QStringLiteral("Operador")).value_or(QString()),
                 antes == "-" ? QString() : QStringLiteral("Ana"));

        // With room again, the same write goes through, and only the file is there, under each of its names.
        QFile::remove(QDir(sitio).filePath(QStringLiteral("enchimento")));
        QVERIFY2(ini.escrever(escritas), qPrintable(ini.razaoFalha()));
        const QString lido = ligado ? segundo : c;
        QCOMPARE(FicheiroPerfil(lido).valor(QStringLiteral("nrcopias"), QStringLiteral("Chave0")).value(), valor);
        QStringList nomes{QStringLiteral("Lorvane.ini")};
        if (ligado) {
            nomes << QStringLiteral("Posto2.ini");
            struct stat a{}, b{};
            QVERIFY(::stat(QFile::encodeName(c).constData(), &a) == 0 && ::stat(QFile::encodeName(segundo).constData(), &b) == 0);
            QCOMPARE(std::tuple(a.st_ino, a.st_nlink), std::tuple(b.st_ino, nlink_t(2)));
        }
        QCOMPARE(conteudoPasta(sitio), nomes);
    }

    // A writer killed at any step of its save leaves, for the next reading,
    // the whole old text: the new file never took the name, or the file
    // written in place (here: it has a second name) gets its old text back
    // from the copy kept in the state folder. The new text is shorter than
    // the old one (whose tail it would leave) or longer than a page.
    void mortoAMeioDaEscrita_data()
    {
        QTest::addColumn<int>("passo");      // -1: a save by a new file
        QTest::addColumn<qint64>("limite");  // > 0: killed within the write after the step, once so many bytes are in
        QTest::addColumn<int>("tamanho");    // of the new value; the old one has 2000
        using P = GravacaoFicheiro::Passo;
        QTest::newRow("novo ficheiro, morto na escrita") << -1 << qint64(100) << 4000;
        for (const int tamanho : {1, 20000}) {
            const char* t = tamanho == 1 ? "mais curto" : "de várias páginas";
            QTest::addRow("texto %s, morto a meio da cópia", t) << int(P::Copia) << qint64(60) << tamanho;
            QTest::addRow("texto %s, morto a meio da escrita", t)
                << int(P::Escrita) << qint64(tamanho == 1 ? 20 : 9000) << tamanho;
            QTest::addRow("texto %s, morto antes de cortar", t) << int(P::Truncagem) << qint64(0) << tamanho;
            QTest::addRow("texto %s, morto antes de sincronizar", t) << int(P::Sincronizacao) << qint64(0) << tamanho;
            QTest::addRow("texto %s, morto antes de apagar a cópia", t) << int(P::Confirmacao) << qint64(0) << tamanho;
        }
    }
    void mortoAMeioDaEscrita()
    {
        QFETCH(int, passo);
        QFETCH(qint64, limite);
        QFETCH(int, tamanho);
        QTemporaryDir sitio;
        const QString c = sitio.filePath(QStringLiteral("Lorvane.ini"));
        const auto texto = [](const QByteArray& velocidade, const QByteArray& extra, const QByteArray& marca) {
            return QByteArray("[Indicador]\nVelocidade=" + velocidade + "\n[Extra]\nTexto=" + extra
                              + "\n[Fim]\nMarca=" + marca + "\n");
        };
        const QByteArray antes = texto("19200", QByteArray(2000, 'a'), "antiga");
        escreverFicheiro(c, antes);
        if (passo >= 0)
            QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(c + "2").constData()), 0);
        const QStringList nomes = conteudoPasta(sitio.path());
        const QList<FicheiroPerfil::Escrita> escritas{
            {"Indicador", "Velocidade", "9600"}, {"Extra", "Texto", QString(tamanho, u'b')}, {"Fim", "Marca", "nova"}};
        ProcessoFilho filho([&] {
            if (passo < 0)
                morrerAoPassar(limite);
            else
                acabarNoPasso(GravacaoFicheiro::Passo(passo), limite);
            FicheiroPerfil(c).escrever(escritas);
        });
        const int estado = filho.esperar();
        QVERIFY(WIFSIGNALED(estado) && WTERMSIG(estado) == (limite > 0 ? SIGXFSZ : SIGKILL));
        if (const Imutavel imutavel(c); imutavel.ok()) {
            // A reader that may not write the file reads the old text; the file stays as the kill left it.
            const QByteArray cortado = lerFicheiro(c);
            QCOMPARE(FicheiroPerfil(c).ler("Fim", "Marca", {}), QStringLiteral("antiga"));
            QCOMPARE(lerFicheiro(c), cortado);
        }
        const FicheiroPerfil depois(c);
        QCOMPARE(depois.ler("Indicador", "Velocidade", {}) + depois.ler("Fim", "Marca", {}), u"19200antiga"_qs);
        QCOMPARE(lerFicheiro(c), antes);
        QCOMPARE(conteudoPasta(sitio.path()), nomes);
        // The next save finds the file whole, and leaves no line of the old text.
        QVERIFY(FicheiroPerfil(c).escrever(escritas));
        QCOMPARE(lerFicheiro(c), texto("9600", QByteArray(tamanho, 'b'), "nova"));
    }

    // The new file keeps the old one's permissions (a site may keep it from other users).
    void escritaMantemPermissoes()
    {
        escreverFicheiro(caminho(), "[Acesso]\nOperador=Ana\n");
        QVERIFY(::chmod(QFile::encodeName(caminho()).constData(), 0640) == 0);
        QVERIFY(FicheiroPerfil(caminho()).escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Rui")));
        struct stat st{};
        QVERIFY(::stat(QFile::encodeName(caminho()).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, 0640u);
    }

    // Two programs writing the file at once take their turns: every state of
    // the file is one whole text, never two mixed, and neither loses the
    // other's keys.
    void doisProgramasAoMesmoTempo()
    {
        QTemporaryDir sitio;
        const QString c = sitio.filePath(QStringLiteral("Lorvane.ini"));
        const QString grande(200'000, u'x');
        QVERIFY(FicheiroPerfil(c).escrever({{"Extra", "Texto", grande}, {"Geral", "Fim", "1"}}));
        QList<pid_t> filhos;
        for (const char* chave : {"A", "B"}) {
            const pid_t filho = ::fork();
            QVERIFY(filho >= 0);
            if (filho == 0) {
                FicheiroPerfil ini(c);
                bool ok = true;
                for (int n = 0; n < 100; ++n)
                    ok = ini.escrever(QStringLiteral("Geral"), QString::fromLatin1(chave), QString::number(n)) && ok;
                ::_exit(ok ? 0 : 1);
            }
            filhos << filho;
        }
        for (const pid_t filho : filhos) {
            int estado = -1;
            QCOMPARE(::waitpid(filho, &estado, 0), filho);
            QCOMPARE(estado, 0);
        }
        const FicheiroPerfil depois(c);
        QCOMPARE(depois.ler(QStringLiteral("Geral"), QStringLiteral("Fim"), {}), QStringLiteral("1"));
        for (const char* chave : {"A", "B"})
            QCOMPARE(depois.ler(QStringLiteral("Geral"), QString::fromLatin1(chave), {}), QStringLiteral("99"));
        QCOMPARE(depois.valor(QStringLiteral("Extra"), QStringLiteral("Texto")).value_or(QString()), grande);
        QCOMPARE(lerFicheiro(c).count("[Extra]"), 1);
        QCOMPARE(conteudoPasta(sitio.path()), QStringList{QStringLiteral("Lorvane.ini")});
    }
};

QTEST_GUILESS_MAIN(TesteFicheiroPerfil)
#include "tst_FicheiroPerfil.moc"
