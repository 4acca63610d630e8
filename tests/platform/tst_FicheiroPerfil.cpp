#include "platform/ficheiros/CopiaAntiga.h"
#include "platform/ficheiros/FicheiroPerfil.h"
#include "platform/ficheiros/Windows1252.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <functional>
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

ino_t inode(const QString& caminho)
{
    struct stat st{};
    return ::stat(QFile::encodeName(caminho).constData(), &st) == 0 ? st.st_ino : 0;
}

// What a test does at one step of a save, in this process or a child.
GravacaoFicheiro::Passo passoDoTeste;
std::function<void()> noPasso;

void aoPassoDoTeste(GravacaoFicheiro::Passo p)
{
    if (p == passoDoTeste)
        noPasso();
}

// A file of two names (`c` and a second one beside it), and a save into it
// killed before the cut: its text before (Operador Ana and a long Nota) and
// as the kill left it (Operador Rui over the old text's tail), with the
// save's mark and copy.
void gravacaoCortada(const QString& c, QByteArray& antes, QByteArray& cortado)
{
    antes = "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n";
    escreverFicheiro(c, antes);
    QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(c + u'2').constData()), 0);
    ProcessoFilho filho([&] {
        acabarNoPasso(GravacaoFicheiro::Passo::Truncagem);
        FicheiroPerfil(c).escrever({{"Acesso", "Operador", "Rui"}, {"Acesso", "Nota", ""}});
    });
    QVERIFY(WIFSIGNALED(filho.esperar()));
    cortado = lerFicheiro(c);
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
        QTest::newRow("secção sem nome fecha a anterior")
            << QByteArray("[S]\nA=1\n[]\nB=2\n") << "S" << "B" << "<ausente>";
        QTest::newRow("secção sem nome") << QByteArray("[S]\nA=1\n[]\nB=2\n") << "" << "B" << "2";
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
    // and a file grown past the size allowed part-way, or whose copy cannot
    // be removed once the new text is in, gets its old text back.
    void escritaFalhadaDeixaOFicheiro_data()
    {
        QTest::addColumn<QString>("meio");      // "limite": the process's file size limit; "disco": a full tmpfs;
                                                // "copia": the copy immutable once the new text is in
        QTest::addColumn<QByteArray>("antes");  // "-": no file
        QTest::addColumn<bool>("ligado");       // a second name for the file
        QTest::addColumn<QString>("razao");     // %1: the file's folder
        const QByteArray ficheiro = "; Posto 1\r\n[BaseDados]\r\nLocalizacao=/srv/Pesagem.mdb\r\n[Acesso]\r\nOperador=Ana\r\n";
        const QString grande = QStringLiteral("O ficheiro excede o tamanho máximo permitido");
        QTest::newRow("ficheiro maior do que o permitido") << "limite" << ficheiro << false << grande;
        QTest::newRow("sem ficheiro: nenhum fica") << "limite" << QByteArray("-") << false << grande;
        QTest::newRow("disco cheio") << "disco" << ficheiro << false << "Não há espaço livre no disco";
        QTest::newRow("no próprio ficheiro, maior do que o permitido a meio da escrita")
            << "limite" << ficheiro << true << grande;
        QTest::newRow("no próprio ficheiro, disco cheio") << "disco" << ficheiro << true << "Não há espaço livre no disco";
        QTest::newRow("no próprio ficheiro, a cópia não se deixa tirar")
            << "copia" << ficheiro << true
            << "A cópia do texto antigo não pôde ser tirada na pasta %1 (Sem permissão para escrever";
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
        if (meio == u"copia" && !Imutavel(caminho()).ok())
            QSKIP("this file system cannot make a file immutable");
        const QString sitio = meio == u"disco" ? disco.pasta() : pasta.path();
        razao = razao.arg(sitio);
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
        // In place the limit comes once the copy (which holds the new text too) is whole.
        std::optional<LimiteTamanhoFicheiros> limite;
        std::optional<Imutavel> copia;
        if (meio == u"limite" && !ligado)
            limite.emplace(1000);
        passoDoTeste = meio == u"copia" ? GravacaoFicheiro::Passo::Confirmacao : GravacaoFicheiro::Passo::Escrita;
        noPasso = [&] {
            if (meio == u"copia")
                copia.emplace(QDir(sitio).filePath(QDir(sitio).entryList({".zumarel-antigo-*"}, QDir::Hidden).value(0)));
            else if (meio == u"limite" && !limite)
                limite.emplace(1000);
        };
        GravacaoFicheiro::aoPasso = aoPassoDoTeste;
        const bool gravou = ini.escrever(escritas);
        GravacaoFicheiro::aoPasso = nullptr;
        limite.reset();
        copia.reset();
        QVERIFY(!gravou);
        QVERIFY2(ini.razaoFalha().startsWith(razao + QStringLiteral(" [")), qPrintable(ini.razaoFalha()));
        QCOMPARE(lerFicheiro(c), antes == "-" ? QByteArray() : antes);
        // A copy left only because it could not be removed goes at the next reading.
        QCOMPARE(ini.valor(QStringLiteral("Acesso"), QStringLiteral("Operador")).value_or(QString()),
                 antes == "-" ? QString() : QStringLiteral("Ana"));
        QCOMPARE(conteudoPasta(sitio), pastaAntes);

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

    // A writer killed at any step of its save leaves, for the next reading or
    // save, a whole text: the old one (the new file never took the name, or
    // the file written in place, here because it has a second name, gets it
    // back from the copy), or the new one once the file held it whole. The
    // next station finds the copy beside the file whatever its user's state
    // folder. The new text is shorter than the old one (whose tail it would
    // leave) or longer than a page.
    void mortoAMeioDaEscrita_data()
    {
        QTest::addColumn<int>("passo");      // -1: a save by a new file
        QTest::addColumn<qint64>("limite");  // > 0: killed within the write after the step, once so many bytes are in
        QTest::addColumn<int>("tamanho");    // of the new value; the old one has 2000
        QTest::addColumn<bool>("fica");      // the new text stays
        QTest::addColumn<bool>("grava");     // the first act after the kill is a save, not a reading
        using P = GravacaoFicheiro::Passo;
        QTest::newRow("novo ficheiro, morto na escrita") << -1 << qint64(100) << 4000 << false << false;
        for (const int tamanho : {1, 20000}) {
            const bool longo = tamanho > 1;
            const char* t = longo ? "de várias páginas" : "mais curto";
            QTest::addRow("texto %s, morto a meio da cópia", t) << int(P::Copia) << qint64(60) << tamanho << false << longo;
            QTest::addRow("texto %s, morto a meio da escrita", t)
                << int(P::Escrita) << qint64(longo ? 9000 : 20) << tamanho << false << !longo;
            // As long as the shorter text, every byte the old one's or the new one's.
            QTest::addRow("texto %s, morto a meio da escrita dentro do texto antigo", t)
                << int(P::Escrita) << qint64(20) << tamanho << false << longo;
            // The longer text is whole before it is cut to length.
            QTest::addRow("texto %s, morto antes de cortar", t) << int(P::Truncagem) << qint64(0) << tamanho << longo << longo;
            QTest::addRow("texto %s, morto antes de sincronizar", t)
                << int(P::Sincronizacao) << qint64(0) << tamanho << true << !longo;
            QTest::addRow("texto %s, morto antes de apagar a cópia", t)
                << int(P::Confirmacao) << qint64(0) << tamanho << true << longo;
        }
    }
    void mortoAMeioDaEscrita()
    {
        QFETCH(int, passo);
        QFETCH(qint64, limite);
        QFETCH(int, tamanho);
        QFETCH(bool, fica);
        QFETCH(bool, grava);
        QTemporaryDir sitio;
        const QString c = sitio.filePath(QStringLiteral("Lorvane.ini"));
        const auto texto = [](const QByteArray& velocidade, const QByteArray& extra, const QByteArray& marca) {
            return QByteArray("[Indicador]\nVelocidade=" + velocidade + "\n[Extra]\nTexto=" + extra
                              + "\n[Fim]\nMarca=" + marca + "\n");
        };
        const QByteArray antes = texto("19200", QByteArray(2000, 'a'), "antiga");
        const QByteArray novo = texto("9600", QByteArray(tamanho, 'b'), "nova");
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
        const QString marca = fica ? QStringLiteral("nova") : QStringLiteral("antiga");
        if (const Imutavel imutavel(c); imutavel.ok()) {
            // A reader that may not write the file reads the whole text; the file stays as the kill left it.
            const QByteArray cortado = lerFicheiro(c);
            QCOMPARE(FicheiroPerfil(c).ler("Fim", "Marca", {}), marca);
            QCOMPARE(lerFicheiro(c), cortado);
        }
        // Another user's station, with a state folder of its own.
        QTemporaryDir outroEstado;
        qputenv("XDG_STATE_HOME", QFile::encodeName(outroEstado.path()));
        const auto estadoDeste = qScopeGuard([&] { qputenv("XDG_STATE_HOME", QFile::encodeName(pastaEstado.path())); });
        const QByteArray outra = grava ? QByteArray("\n[Outra]\nChave=1\n") : QByteArray();
        if (grava) {
            QVERIFY(FicheiroPerfil(c).escrever("Outra", "Chave", "1"));
        } else {
            const FicheiroPerfil depois(c);
            QCOMPARE(depois.ler("Indicador", "Velocidade", {}) + depois.ler("Fim", "Marca", {}),
                     (fica ? QStringLiteral("9600") : QStringLiteral("19200")) + marca);
        }
        QCOMPARE(lerFicheiro(c), (fica ? novo : antes) + outra);
        QCOMPARE(conteudoPasta(sitio.path()), nomes);
        // The next save finds the file whole, and leaves no line of the old text.
        QVERIFY(FicheiroPerfil(c).escrever(escritas));
        QCOMPARE(lerFicheiro(c), novo + outra);
    }

    // A copy left by a kill, met by a newer file at the same path: written
    // over in place by another program (the same inode, made at the same
    // time), or a file made anew that got the old one's inode number (as
    // ext4 gives a freed number back). The newer file stays; the copy is set
    // aside under a name that says so, and the log says why.
    void copiaDiantedeUmFicheiroMaisNovo_data()
    {
        QTest::addColumn<QString>("como");
        QTest::newRow("reescrito no mesmo inode por outro programa") << "reescrito";
        QTest::newRow("apagado e outro feito no seu lugar") << "apagado";
        QTest::newRow("gravado por um editor que muda o nome") << "renomeado";
    }
    void copiaDiantedeUmFicheiroMaisNovo()
    {
        QFETCH(QString, como);
        QTemporaryDir sitio;
        const QString c = sitio.filePath(QStringLiteral("Lorvane.ini")), segundo = c + QStringLiteral("2");
        escreverFicheiro(c, "[Indicador]\nVelocidade=19200\n[Extra]\nTexto=" + QByteArray(2000, 'a') + "\n");
        QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(segundo).constData()), 0);
        ProcessoFilho filho([&] {
            acabarNoPasso(GravacaoFicheiro::Passo::Truncagem);
            FicheiroPerfil(c).escrever({{"Indicador", "Velocidade", "9600"}, {"Extra", "Texto", ""}});
        });
        QVERIFY(WIFSIGNALED(filho.esperar()));
        QVERIFY(QFile::remove(segundo));
        const ino_t antigo = inode(c);
        const QByteArray maisNovo = "; reposto pelo técnico\n[Indicador]\nVelocidade=4800\n";
        if (como == u"reescrito") {
            escreverFicheiro(c, maisNovo);
        } else {
            const QString provisorio = sitio.filePath(QStringLiteral("Lorvane.ini~"));
            for (int n = 0; n < 20 && (n == 0 || inode(c) != antigo); ++n) {
                if (como == u"apagado")
                    QFile::remove(c);
                escreverFicheiro(como == u"apagado" ? c : provisorio, maisNovo);
                if (como == u"renomeado")
                    QCOMPARE(::rename(QFile::encodeName(provisorio).constData(), QFile::encodeName(c).constData()), 0);
            }
            if (inode(c) != antigo)
                QSKIP("this file system did not give the inode number again");
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("rollback copy .* set aside as")));
        QCOMPARE(FicheiroPerfil(c).ler("Indicador", "Velocidade", {}), QStringLiteral("4800"));
        QCOMPARE(lerFicheiro(c), maisNovo);
        const QStringList nomes = conteudoPasta(sitio.path());
        QCOMPARE(nomes.size(), 2);
        QVERIFY2(nomes[0].startsWith(QStringLiteral(".zumarel-antigo-%1.posta-de-lado-").arg(antigo)),
                 qPrintable(nomes[0]));
        QVERIFY(FicheiroPerfil(c).escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Ana")));
        QCOMPARE(lerFicheiro(c), maisNovo + "\n[Acesso]\nOperador=Ana\n");
    }

    // No file is read past what a settings file can hold (16 MiB): a huge
    // file at the settings file's name (here 1 TiB, sparse) is a file that
    // cannot be read, its keys take their defaults, the log names it and
    // its size, and a save is refused saying so; one at the copy's name is
    // no copy, set aside unread, and the settings are read and saved.
    void ficheiroEnorme_data()
    {
        QTest::addColumn<bool>("naCopia");
        QTest::newRow("o ficheiro de definições") << false;
        QTest::newRow("no nome da cópia") << true;
    }
    void ficheiroEnorme()
    {
        QFETCH(bool, naCopia);
        constexpr qint64 Enorme = qint64(1) << 40;
        QTemporaryDir sitio;
        const QString c = sitio.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, "[Acesso]\nOperador=Ana\n");
        const QString enorme = naCopia ? sitio.filePath(QStringLiteral(".zumarel-antigo-%1").arg(inode(c))) : c;
        {
            QFile f(enorme);
            if (!f.open(QIODevice::ReadWrite) || !f.resize(Enorme))
                QSKIP("this file system holds no sparse file of 1 TiB");
        }
        FicheiroPerfil ini(c);
        const QString razao = QStringLiteral("O ficheiro %1 tem %2 bytes, mais do que um ficheiro de definições pode ter (16 MiB)")
                                  .arg(c)
                                  .arg(Enorme);
        if (naCopia) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("set aside as .*not a whole copy")));
            QCOMPARE(ini.ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}), QStringLiteral("Ana"));
            QVERIFY(ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Rui")));
            QCOMPARE(lerFicheiro(c), QByteArray("[Acesso]\nOperador=Rui\n"));
            const QStringList nomes = conteudoPasta(sitio.path());
            QCOMPARE(nomes.size(), 2);
            QVERIFY2(nomes[0].startsWith(QFileInfo(enorme).fileName() + QStringLiteral(".posta-de-lado-")),
                     qPrintable(nomes[0]));
            return;
        }
        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QStringLiteral("the settings file %1 cannot be read, its keys take their "
                                                       "defaults: %2")
                                            .arg(c, razao)));
        QCOMPARE(ini.ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("-")), QStringLiteral("-"));
        QCOMPARE(ini.ler(QStringLiteral("Geral"), QStringLiteral("X"), QStringLiteral("-")), QStringLiteral("-"));
        QVERIFY(!ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Rui")));
        QCOMPARE(ini.razaoFalha(), razao);
        QCOMPARE(QFileInfo(c).size(), Enorme);
        QCOMPARE(conteudoPasta(sitio.path()), QStringList{QStringLiteral("Lorvane.ini")});
    }

    // Only the copy whose texts the file's mark names serves a save cut
    // short: another whole copy of the same file at the copy's name (here of
    // a save from some other text to the very text the cut left) neither
    // mends the file nor clears its mark, and the save is refused until the
    // right copy is back.
    void soACopiaDaMarcaServe()
    {
        QTemporaryDir sitio;
        const QString c = sitio.filePath(QStringLiteral("Lorvane.ini"));
        QByteArray antes, cortado;
        gravacaoCortada(c, antes, cortado);
        if (QTest::currentTestFailed())
            return;
        const QString copia = sitio.filePath(QStringLiteral(".zumarel-antigo-%1").arg(inode(c)));
        QVERIFY(QFile::rename(copia, copia + QStringLiteral(".guardada")));
        {
            Descritor pastaFd, ficheiroFd;
            pastaFd.fd = ::open(QFile::encodeName(sitio.path()).constData(), O_RDONLY | O_DIRECTORY);
            ficheiroFd.fd = ::open(QFile::encodeName(c).constData(), O_RDONLY);
            struct stat st{};
            QCOMPARE(::fstat(ficheiroFd.fd, &st), 0);
            CopiaAntiga outra(CopiaAntiga::Lugar::JuntoAoFicheiro, pastaFd.fd, ficheiroFd.fd, QFile::encodeName(c), st);
            QCOMPARE(outra.guardar(QByteArray(cortado.size(), 'w'), cortado), 0);
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("is read as it is: Uma gravação de")));
        FicheiroPerfil ini(c);
        QCOMPARE(ini.ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}), QStringLiteral("Rui"));
        QVERIFY(!ini.escrever(QStringLiteral("Outra"), QStringLiteral("Chave"), QStringLiteral("1")));
        QVERIFY2(ini.razaoFalha().contains(QStringLiteral("foi interrompida a meio")), qPrintable(ini.razaoFalha()));
        QCOMPARE(lerFicheiro(c), cortado);
        // That copy, of no save cut short, went as the file is one of its texts; the right one back, the next reading mends the file.
        QVERIFY(!QFile::exists(copia));
        QVERIFY(QFile::rename(copia + QStringLiteral(".guardada"), copia));
        QCOMPARE(FicheiroPerfil(c).ler("Acesso", "Operador", {}), QStringLiteral("Ana"));
        QCOMPARE(lerFicheiro(c), antes);
        QCOMPARE(conteudoPasta(sitio.path()), (QStringList{QStringLiteral("Lorvane.ini"), QStringLiteral("Lorvane.ini2")}));
    }

    // A writer that cannot put back the old text a save cut short left in its
    // copy (here the file size limit strikes at that step) fails its save,
    // composing nothing from the text cut short; the next that can mends it.
    void reposicaoFalhadaRecusaAGravacao()
    {
        QTemporaryDir sitio;
        const QString c = sitio.filePath(QStringLiteral("Lorvane.ini"));
        QByteArray antes, cortado;
        gravacaoCortada(c, antes, cortado);
        if (QTest::currentTestFailed())
            return;
        static std::optional<LimiteTamanhoFicheiros> limite;
        GravacaoFicheiro::aoPasso = [](GravacaoFicheiro::Passo p) {
            if (p == GravacaoFicheiro::Passo::Reposicao)
                limite.emplace(1);
            else if (p == GravacaoFicheiro::Passo::Copia)
                limite.reset();
        };
        FicheiroPerfil ini(c);
        const bool gravou = ini.escrever(QStringLiteral("Outra"), QStringLiteral("Chave"), QStringLiteral("1"));
        GravacaoFicheiro::aoPasso = nullptr;
        limite.reset();
        QVERIFY(!gravou);
        QVERIFY2(ini.razaoFalha().startsWith(QStringLiteral("O ficheiro excede o tamanho máximo permitido [")),
                 qPrintable(ini.razaoFalha()));
        QCOMPARE(lerFicheiro(c), cortado);
        QCOMPARE(FicheiroPerfil(c).ler("Acesso", "Operador", {}), QStringLiteral("Ana"));
        QCOMPARE(lerFicheiro(c), antes);
    }

    // A file put in the settings file's place (an editor's save by rename)
    // while a reading or a save waits for its turn on the file it found: the
    // reading reads the new file, the save writes over it and keeps its text.
    void substituidoEnquantoEspera_data()
    {
        QTest::addColumn<bool>("grava");
        QTest::newRow("leitura") << false;
        QTest::newRow("gravação") << true;
    }
    void substituidoEnquantoEspera()
    {
        QFETCH(bool, grava);
        QFile::remove(caminho());
        escreverFicheiro(caminho(), "[Geral]\nX=1\n");
        static QString sitio;
        sitio = caminho();
        GravacaoFicheiro::aoPasso = [](GravacaoFicheiro::Passo p) {
            if (p != GravacaoFicheiro::Passo::Vez)
                return;
            GravacaoFicheiro::aoPasso = nullptr;
            escreverFicheiro(sitio + u'~', "[Geral]\nX=2\n");
            QFile::remove(sitio);
            QFile::rename(sitio + u'~', sitio);
        };
        FicheiroPerfil ini(caminho());
        if (grava)
            QVERIFY(ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Rui")));
        else
            QCOMPARE(ini.ler(QStringLiteral("Geral"), QStringLiteral("X"), {}), QStringLiteral("2"));
        GravacaoFicheiro::aoPasso = nullptr;
        QCOMPARE(lerFicheiro(caminho()), grava ? QByteArray("[Geral]\nX=2\n\n[Acesso]\nOperador=Rui\n")
                                               : QByteArray("[Geral]\nX=2\n"));
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
    // other's keys, nor is refused. Each starts its save while the other's is
    // under way: they alternate through pipes, each letting the other in from
    // inside its own save. Through names in two folders they share no folder,
    // only the file.
    void doisProgramasAoMesmoTempo_data()
    {
        QTest::addColumn<bool>("duasPastas");
        QTest::newRow("por um novo ficheiro") << false;
        QTest::newRow("no próprio ficheiro, por nomes em duas pastas") << true;
    }
    void doisProgramasAoMesmoTempo()
    {
        QFETCH(bool, duasPastas);
        QTemporaryDir sitio, outraPasta;
        const QString c = sitio.filePath(QStringLiteral("Lorvane.ini"));
        const QString outro = duasPastas ? outraPasta.filePath(QStringLiteral("Lorvane.ini")) : c;
        const QString grande(200'000, u'x');
        QVERIFY(FicheiroPerfil(c).escrever({{"Extra", "Texto", grande}, {"Geral", "Fim", "1"}}));
        if (duasPastas)
            QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(outro).constData()), 0);
        constexpr int Gravacoes = 40;
        int paraA[2], paraB[2];
        QVERIFY(::pipe(paraA) == 0 && ::pipe(paraB) == 0);
        const auto programa = [&](const char* chave, const QString& caminho, int* minha, int* outra, bool primeiro) {
            return [=] {
                ::close(minha[1]);
                ::close(outra[0]);
                ::signal(SIGPIPE, SIG_IGN);
                passoDoTeste = duasPastas ? GravacaoFicheiro::Passo::Copia : GravacaoFicheiro::Passo::Substituicao;
                noPasso = [fd = outra[1]] { [[maybe_unused]] const ssize_t n = ::write(fd, "v", 1); };
                GravacaoFicheiro::aoPasso = aoPassoDoTeste;
                FicheiroPerfil ini(caminho);
                char b;
                for (int n = 0; n < Gravacoes; ++n) {
                    if ((n > 0 || !primeiro) && ::read(minha[0], &b, 1) != 1)
                        ::_exit(2);
                    if (!ini.escrever(QStringLiteral("Geral"), QString::fromLatin1(chave), QString::number(n)))
                        ::_exit(1);
                }
                ::_exit(0);
            };
        };
        ProcessoFilho a(programa("A", c, paraA, paraB, true));
        ProcessoFilho b(programa("B", outro, paraB, paraA, false));
        for (const int fd : {paraA[0], paraA[1], paraB[0], paraB[1]})
            ::close(fd);
        QCOMPARE(a.esperar(), 0);
        QCOMPARE(b.esperar(), 0);
        const FicheiroPerfil depois(outro);
        QCOMPARE(depois.ler(QStringLiteral("Geral"), QStringLiteral("Fim"), {}), QStringLiteral("1"));
        for (const char* chave : {"A", "B"})
            QCOMPARE(depois.ler(QStringLiteral("Geral"), QString::fromLatin1(chave), {}), QString::number(Gravacoes - 1));
        QCOMPARE(depois.valor(QStringLiteral("Extra"), QStringLiteral("Texto")).value_or(QString()), grande);
        QCOMPARE(lerFicheiro(c).count("[Extra]"), 1);
        QCOMPARE(conteudoPasta(sitio.path()), QStringList{QStringLiteral("Lorvane.ini")});
    }
};

QTEST_GUILESS_MAIN(TesteFicheiroPerfil)
#include "tst_FicheiroPerfil.moc"
