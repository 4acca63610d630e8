// Times the station's own routines on a large database made beforehand by
// bench_criarbd, each beside the bare SQLite statements that do the same
// database work on the same file:
//   bench_registos PESAGENS.mdb LISTA.mdb
// PESAGENS.mdb: the weighings (1,000,000) and vehicles (20,000); it is copied
// and the copy is timed, so the file stays as made. LISTA.mdb: the 50,000
// vehicles of the look-up list. Prints one line per measure (median, warm
// cache) and, last, a JSON object of the measures.
#include "DadosBench.h"
#include "DestinoFalso.h"
#include "EcraGravacaoFalso.h"
#include "MemoriaProcesso.h"

#include "data/BaseDadosEstacao.h"
#include "data/Consulta.h"
#include "data/Estacao.h"
#include "platform/Mensagens.h"
#include "platform/gui/ImpressoraQt.h"
#include "records/GravacaoPesagens.h"
#include "records/GrelhaPesagens.h"
#include "reporting/MotorRelatorios.h"
#include "screen/EcraPesagem.h"
#include "support/Falsos.h"
#include "tables/ListaEscolha.h"
#include "tables/TitulosMenu.h"
#include "tables/frmMenu.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSqlDriver>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

QTextStream saida(stdout);
QJsonObject resultados;

[[noreturn]] void falhar(const QString& porque)
{
    std::fprintf(stderr, "bench_registos: %s\n", qPrintable(porque));
    std::exit(1);
}

// ----- bare SQLite

class Nua
{
public:
    explicit Nua(const QString& caminho)
    {
        if (sqlite3_open_v2(caminho.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            falhar(QStringLiteral("cannot open ") + caminho);
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~Nua()
    {
        for (auto& [texto, s] : m_preparadas)
            sqlite3_finalize(s);
        sqlite3_close(m_db);
    }

    // A statement prepared once, bound afresh for each run: what a careful
    // hand-written routine would do.
    sqlite3_stmt* preparar(const char* sql)
    {
        for (auto& [texto, s] : m_preparadas) {
            if (texto == std::string(sql)) {
                sqlite3_reset(s);
                sqlite3_clear_bindings(s);
                return s;
            }
        }
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr) != SQLITE_OK)
            falhar(QString::fromUtf8(sqlite3_errmsg(m_db)) + QStringLiteral(": ") + QString::fromUtf8(sql));
        m_preparadas.emplace_back(sql, s);
        return s;
    }

    // Runs it to its end, reading every column of every row; returns the rows.
    int correr(sqlite3_stmt* s)
    {
        int linhas = 0;
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(s); ++c) {
                if (sqlite3_column_type(s, c) == SQLITE_INTEGER)
                    sqlite3_column_int64(s, c);
                else
                    sqlite3_column_text(s, c);
            }
            ++linhas;
        }
        if (rc != SQLITE_DONE)
            falhar(QString::fromUtf8(sqlite3_errmsg(m_db)));
        sqlite3_reset(s);
        return linhas;
    }

    void exec(const char* sql)
    {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            falhar(QString::fromUtf8(sqlite3_errmsg(m_db)));
    }

    static void texto(sqlite3_stmt* s, int i, const QString& t)
    {
        const QByteArray b = t.toUtf8();
        sqlite3_bind_text(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }

    sqlite3* db() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
    std::vector<std::pair<std::string, sqlite3_stmt*>> m_preparadas;
};

// The fields the identification shows, read by the bare statements.
const char* const PrimeiraNua =
    "SELECT \"Código da viatura\", Viatura, \"Código da entidade\", Entidade, \"Código do transportador\", "
    "Transportador, \"Código do produto\", Produto, \"Código do local de carga\", \"Local de carga\", "
    "\"Código do local de descarga\", \"Local de descarga\", \"Observações\", \"Peso á entrada\", "
    "\"Báscula de entrada\", \"Data de entrada\" FROM Pesagens WHERE \"Tipo de pesagem\" = 'P' AND %1 = ? "
    "ORDER BY Pesagem LIMIT 1";
const char* const ViaturaNua =
    "SELECT \"Código da viatura\", Viatura, \"Código da entidade\", Entidade, \"Código do transportador\", "
    "Transportador, \"Código do produto\", Produto, \"Código do local de carga\", \"Local de carga\", "
    "\"Código do local de descarga\", \"Local de descarga\", \"Peso de tara\", Data FROM Viaturas WHERE %1 = ? "
    "ORDER BY rowid LIMIT 1";

// What identifying a vehicle asks of the file: its pending weighing, and
// when it has none, its record. Found by its plate, the vehicle's code goes
// into the code field, whose quick list of plates beginning with it is read
// again (`listaRapida`).
void identificarNua(Nua& nua, const QByteArray& sqlPrimeira, const QByteArray& sqlViatura, const QString& chave,
                    const QString& listaRapida)
{
    sqlite3_stmt* s = nua.preparar(sqlPrimeira.constData());
    Nua::texto(s, 1, chave);
    if (nua.correr(s) == 0) {
        s = nua.preparar(sqlViatura.constData());
        Nua::texto(s, 1, chave);
        if (nua.correr(s) != 1)
            falhar(QStringLiteral("vehicle not found: ") + chave);
    }
    if (listaRapida.isEmpty())
        return;
    for (const char* sql :
         {"SELECT DISTINCT Viatura FROM Pesagens WHERE Viatura LIKE ? ESCAPE '\\' AND "
          "\"Tipo de pesagem\" = 'P' ORDER BY Viatura",
          "SELECT DISTINCT Viatura FROM Viaturas WHERE Viatura LIKE ? ESCAPE '\\' ORDER BY Viatura"}) {
        s = nua.preparar(sql);
        Nua::texto(s, 1, listaRapida + u'%');
        nua.correr(s);
    }
}

// The grid's first page: what the station reads for a refresh or a sort.
int grelhaNua(Nua& nua, const char* sql, qint64 acima)
{
    sqlite3_stmt* s = nua.preparar(sql);
    sqlite3_bind_int64(s, 1, acima);
    sqlite3_bind_int(s, 2, 256);
    return nua.correr(s);
}

const char* const GrelhaGuiasNua = "SELECT * FROM Pesagens WHERE Pesagem > ? AND \"Tipo de pesagem\" = 'G' "
                                   "ORDER BY Pesagem DESC LIMIT ?";
const char* const GrelhaTudoNua = "SELECT * FROM Pesagens WHERE Pesagem > ? ORDER BY Pesagem DESC LIMIT ?";
const char* const GrelhaOrdenadaNua = "SELECT * FROM Pesagens WHERE Pesagem > ? AND +\"Tipo de pesagem\" = 'G' "
                                      "ORDER BY \"Peso líquido\" DESC, Pesagem DESC LIMIT ?";

// A weighing's save as bare statements: the row (and for a second weighing
// the number), the vehicle's record, the grid read again and the document's row.
void gravarNua(Nua& nua, int viatura, bool segunda, qint64 ultima)
{
    const QString codigo = DadosBench::codigo(viatura);
    qint64 pesagem = 0;
    nua.exec("BEGIN IMMEDIATE");
    if (segunda) {
        nua.exec("UPDATE Empresas SET Guia = Guia + 1 WHERE Empresa = 1");
        sqlite3_stmt* n = nua.preparar("SELECT Guia FROM Empresas WHERE Empresa = 1");
        sqlite3_step(n);
        const qint64 numero = sqlite3_column_int64(n, 0);
        sqlite3_reset(n);
        sqlite3_stmt* p = nua.preparar("SELECT Pesagem FROM Pesagens WHERE \"Tipo de pesagem\" = 'P' AND "
                                       "\"Código da viatura\" = ? ORDER BY Pesagem LIMIT 1");
        Nua::texto(p, 1, codigo);
        if (sqlite3_step(p) != SQLITE_ROW)
            falhar(QStringLiteral("no pending weighing for ") + codigo);
        pesagem = sqlite3_column_int64(p, 0);
        sqlite3_reset(p);
        sqlite3_stmt* u = nua.preparar(
            "UPDATE Pesagens SET \"Tipo de pesagem\" = 'G', \"Número de pesagem\" = ?1, \"Código da viatura\" = ?2, "
            "Viatura = ?3, \"Código da entidade\" = 'E1', Entidade = 'Entidade', \"Código do transportador\" = 'T1', "
            "Transportador = 'Transportador', \"Código do produto\" = 'P1', Produto = 'Produto', "
            "\"Código do local de carga\" = 'C1', \"Local de carga\" = 'Carga', \"Código do local de descarga\" = "
            "'D1', "
            "\"Local de descarga\" = 'Descarga', Observações = '', \"Peso á entrada\" = 12000, "
            "\"Báscula de entrada\" = 'B1', \"Data de entrada\" = '2026-12-05 09:15:00', \"Hora de entrada\" = "
            "'09:15', "
            "\"Peso á saída\" = 31500, \"Báscula de saída\" = 'B2', \"Data de saída\" = '2026-12-05 14:30:00', "
            "\"Hora de saída\" = '14:30', \"Peso líquido\" = 19500, Operador = 'Maria', Empresa = 1 WHERE Pesagem = "
            "?4");
        sqlite3_bind_int64(u, 1, numero);
        Nua::texto(u, 2, codigo);
        Nua::texto(u, 3, DadosBench::matricula(viatura));
        sqlite3_bind_int64(u, 4, pesagem);
        nua.correr(u);
    } else {
        sqlite3_stmt* i = nua.preparar(
            "INSERT INTO Pesagens (\"Tipo de pesagem\", \"Código da viatura\", Viatura, \"Código da entidade\", "
            "Entidade, \"Código do transportador\", Transportador, \"Código do produto\", Produto, "
            "\"Código do local de carga\", \"Local de carga\", \"Código do local de descarga\", \"Local de descarga\", "
            "Observações, \"Peso á entrada\", \"Báscula de entrada\", \"Data de entrada\", \"Hora de entrada\", "
            "Operador, Empresa) VALUES ('P', ?1, ?2, 'E1', 'Entidade', 'T1', 'Transportador', 'P1', 'Produto', "
            "'C1', 'Carga', 'D1', 'Descarga', '', 12000, 'B1', '2026-12-05 09:15:00', '09:15', 'Maria', 1)");
        Nua::texto(i, 1, codigo);
        Nua::texto(i, 2, DadosBench::matricula(viatura));
        nua.correr(i);
        pesagem = sqlite3_last_insert_rowid(nua.db());
    }
    nua.exec("COMMIT");
    sqlite3_stmt* v = nua.preparar("SELECT * FROM Viaturas WHERE \"Código da viatura\" = ? LIMIT 1");
    Nua::texto(v, 1, codigo);
    nua.correr(v);
    sqlite3_stmt* u = nua.preparar(
        "UPDATE Viaturas SET Viatura = ?2, \"Código da entidade\" = 'E1', Entidade = 'Entidade', "
        "\"Código do transportador\" = 'T1', Transportador = 'Transportador', \"Código do produto\" = 'P1', "
        "Produto = 'Produto', \"Código do local de carga\" = 'C1', \"Local de carga\" = 'Carga', "
        "\"Código do local de descarga\" = 'D1', \"Local de descarga\" = 'Descarga', \"Peso de tara\" = 12000, "
        "\"Peso bruto\" = ?3, Data = '2026-12-05 14:30:00', Hora = '14:30', Operador = 'Maria' "
        "WHERE \"Código da viatura\" = ?1");
    Nua::texto(u, 1, codigo);
    Nua::texto(u, 2, DadosBench::matricula(viatura));
    sqlite3_bind_int(u, 3, segunda ? 31500 : 0);
    nua.correr(u);
    grelhaNua(nua, GrelhaGuiasNua, ultima - 100);
    sqlite3_stmt* d = nua.preparar("SELECT * FROM Pesagens WHERE Pesagem = ?");
    sqlite3_bind_int64(d, 1, pesagem);
    nua.correr(d);
}

// The statements the station runs, traced on its own connection.
QStringList tracadas;
void tracar(const QSqlDatabase& db, bool ligar)
{
    sqlite3* h = *static_cast<sqlite3* const*>(db.driver()->handle().data());
    sqlite3_trace_v2(
        h, ligar ? SQLITE_TRACE_STMT : 0,
        [](unsigned, void*, void* p, void*) {
            tracadas << QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt*>(p)));
            return 0;
        },
        nullptr);
}

// ----- timing

double mediana(
    int vezes, const std::function<void(int)>& operacao, const std::function<void(int)>& preparar = [](int) {})
{
    preparar(-1);
    operacao(-1);  // warms the cache and the statements
    std::vector<double> ms;
    for (int i = 0; i < vezes; ++i) {
        preparar(i);
        QElapsedTimer t;
        t.start();
        operacao(i);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void medida(const char* nome, const QString& descricao, double ms, std::optional<double> nua)
{
    QString linha = QStringLiteral("%1 %2 ms").arg(QString::fromLatin1(nome), -22).arg(ms, 9, 'f', 3);
    if (nua)
        linha += QStringLiteral("  bare %1 ms  ratio %2").arg(*nua, 9, 'f', 3).arg(ms / *nua, 6, 'f', 2);
    else
        linha += QStringLiteral("  bare         -");
    saida << linha << "   " << descricao << '\n';
    saida.flush();
    QJsonObject o{{QStringLiteral("ms"), qRound(ms * 1000) / 1000.0}};
    o.insert(QStringLiteral("bare_ms"), nua ? QJsonValue(qRound(*nua * 1000) / 1000.0) : QJsonValue());
    resultados.insert(QString::fromLatin1(nome), o);
}

// A whole station on the copied database: real printer (PDFs, as on a
// machine without a printer), fake boxes that answer Yes, a level-4 operator.
struct Posto
{
    QTemporaryDir pasta;
    MensagensFalsas mensagens;
    RelogioFalso relogio;
    SistemaFalso sistema;
    std::unique_ptr<Estacao> estacao;
    std::unique_ptr<ImpressoraQt> impressoraQt;
    std::unique_ptr<MotorRelatorios> motor;

    Posto(const QString& base)
    {
        const QDir relatorios(QStringLiteral(ZUMAREL_PASTA_PROGRAMA));
        for (const QString& f : relatorios.entryList({QStringLiteral("*.rpt")}, QDir::Files))
            QFile::copy(relatorios.filePath(f), pasta.filePath(f));
        QDir().mkpath(pasta.filePath(QStringLiteral("partials")));
        for (const QString& f : QDir(relatorios.filePath(QStringLiteral("partials"))).entryList(QDir::Files))
            QFile::copy(relatorios.filePath(QStringLiteral("partials/") + f),
                        pasta.filePath(QStringLiteral("partials/") + f));
        estacao = std::make_unique<Estacao>(pasta.path(), mensagens, relogio, sistema);
        estacao->Def.BaseDados = base;
        estacao->Def.BaseDadosBackup = base;
        estacao->Bd = BaseDadosEstacao::abrir(base);
        estacao->Acesso.NivelAcesso = 4;
        estacao->Acesso.NomeOperador = QStringLiteral("Maria");
        estacao->Def.DuasPesagens = true;
        estacao->Def.CopiasPrimeiraPesagem = estacao->Def.CopiasSaida = 1;
        impressoraQt = std::make_unique<ImpressoraQt>(relogio, mensagens);
        impressoraQt->lugaresImpressao = {};  // no print system: a PDF beside the database
        motor = std::make_unique<MotorRelatorios>([this] { return estacao->bd(); }, relogio, *impressoraQt);
        estacao->impressora = motor.get();
        mensagens.aoMostrar = [](const MensagensFalsas::Caixa&) { return Resposta::Sim; };
    }
};

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
    if (argc != 3 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: bench_registos PESAGENS.mdb LISTA.mdb   (both made by bench_criarbd)\n");
        return 2;
    }
    const QString original = QString::fromLocal8Bit(argv[1]);
    const QString lista = QString::fromLocal8Bit(argv[2]);
    const QString base = original + QStringLiteral(".medida");
    QFile::remove(base);
    if (!QFile::copy(original, base))
        falhar(QStringLiteral("cannot copy ") + original);

    Posto posto(base);
    Estacao& estacao = *posto.estacao;
    Nua nua(base);
    const qint64 pesagens = [&] {
        sqlite3_stmt* s = nua.preparar("SELECT max(Pesagem) FROM Pesagens");
        sqlite3_step(s);
        const qint64 n = sqlite3_column_int64(s, 0);
        sqlite3_reset(s);
        return n;
    }();
    const int viaturas = [&] {
        sqlite3_stmt* s = nua.preparar("SELECT count(*) FROM Viaturas");
        sqlite3_step(s);
        const int n = sqlite3_column_int(s, 0);
        sqlite3_reset(s);
        return n;
    }();
    const std::vector<int> pendentes = DadosBench::viaturasPendentes(pesagens, viaturas);
    saida << original << ": " << pesagens << " weighings, " << viaturas << " vehicles, " << pendentes.size()
          << " pending; median of warm runs, station and bare statements on the same file\n\n";
    const int vezesId = 200, vezesGravar = 20, vezesGrelha = 20;
    if (int(pendentes.size()) < 2 * (vezesGravar + 1))
        falhar(QStringLiteral("too few pending weighings"));
    // Vehicles without a pending weighing: found in the vehicles' file.
    std::vector<int> semPendente;
    for (int v = 1; int(semPendente.size()) < 2 * vezesId + 2 * vezesGravar + 4; ++v) {
        if (std::find(pendentes.begin(), pendentes.end(), v) == pendentes.end())
            semPendente.push_back(v);
    }
    auto vez = [](int i) { return size_t(i + 1); };

    // 1. Identification: the pending weighing, then the vehicle's record.
    {
        EcraPesagem ecra(estacao);
        // The key typed, then (timed) the routines that identify it.
        auto escrever = [&](int campo, const QString& chave) {
            ecra.setTxt(0, QString());
            ecra.setTxt(1, QString());
            ecra.setTxt(campo, chave);
        };
        auto identificar = [&] {
            if (!ecra.identificacao().ConsultarPrimeiraPesagem() && !ecra.identificacao().ConsultarViatura())
                falhar(QStringLiteral("not identified"));
        };
        for (auto [nome, campo, chaveSql] : {std::tuple{"identificar_matricula", 1, "Viatura"},
                                             std::tuple{"identificar_codigo", 0, "\"Código da viatura\""}}) {
            auto chave = [&, campo = campo](int i) {
                const int v = semPendente[vez(i) % semPendente.size()];
                return campo == 0 ? DadosBench::codigo(v) : DadosBench::matricula(v);
            };
            const double ms = mediana(
                vezesId, [&](int) { identificar(); }, [&](int i) { escrever(campo, chave(i)); });
            escrever(campo, chave(7));
            tracadas.clear();
            tracar(estacao.bd(), true);
            identificar();
            tracar(estacao.bd(), false);
            saida << "  " << nome << " runs: " << tracadas.join(QStringLiteral("\n    ")) << '\n';
            const QByteArray p = QString::fromUtf8(PrimeiraNua).arg(QString::fromUtf8(chaveSql)).toUtf8();
            const QByteArray v = QString::fromUtf8(ViaturaNua).arg(QString::fromUtf8(chaveSql)).toUtf8();
            const double bare = mediana(vezesId, [&](int i) {
                const int vi = semPendente[vez(i) % semPendente.size()];
                identificarNua(nua, p, v, chave(i), campo == 1 ? DadosBench::codigo(vi) : QString());
            });
            medida(nome, QStringLiteral("a vehicle on file without a pending weighing"), ms, bare);
            // The same statements through the station's data access alone, without the screen's fields.
            const double soConsulta = mediana(vezesId, [&](int i) {
                if (Consulta::primeiraLinha(estacao.bd(), QString::fromUtf8(p), {chave(i)}))
                    return;
                Consulta::primeiraLinha(estacao.bd(), QString::fromUtf8(v), {chave(i)});
            });
            saida << QStringLiteral("  of which the two look-ups through data/Consulta: %1 ms\n")
                         .arg(soConsulta, 0, 'f', 3);
        }
        if (!posto.mensagens.caixas.isEmpty())
            falhar(posto.mensagens.caixas.first().texto);
    }

    // 2. The grid before the first save: each kind, and a sort, first screenful shown.
    EcraGravacaoFalso ecraGravacao;
    GrelhaPesagens grelha(estacao, ecraGravacao);
    auto ecraCheio = [&] {
        const ModeloGrelhaPesagens& m = grelha.modelo();
        for (int r = 0; r < std::min(30, m.rowCount()); ++r) {
            for (int c = 0; c < m.columnCount(); ++c)
                m.data(m.index(r, c));
        }
    };
    estacao.UltimaPesagem = 0;
    const double guias = mediana(vezesGrelha, [&](int) {
        grelha.RefrescarLista();
        ecraCheio();
    });
    medida("grelha_guias", QStringLiteral("\"Guias\" at start or Home: every row of the kind"), guias,
           mediana(vezesGrelha, [&](int) { grelhaNua(nua, GrelhaGuiasNua, -100); }));
    const double tudo = mediana(vezesGrelha, [&](int) {
        grelha.optTP_Click(5);
        ecraCheio();
    });
    medida("grelha_tudo", QStringLiteral("\"Tudo\" before the first save"), tudo,
           mediana(vezesGrelha, [&](int) { grelhaNua(nua, GrelhaTudoNua, -100); }));
    grelha.optTP_Click(0);
    const double ordenada = mediana(vezesGrelha, [&](int) {
        grelha.OrdemGrelha = QStringLiteral("[Peso líquido] desc");
        grelha.OrdenarColuna();
        ecraCheio();
    });
    medida("grelha_ordenada", QStringLiteral("\"Guias\" sorted by \"Líquido\", before the first save"), ordenada,
           mediana(vezesGrelha, [&](int) { grelhaNua(nua, GrelhaOrdenadaNua, -100); }));
    for (const char* campo : {"Peso líquido", "Viatura", "Data de saída", "Báscula de saída"}) {
        for (int opcao : {0, 3, 5}) {
            grelha.optTP_Click(opcao);
            double pior = 0;
            for (const char* sentido : {"] desc", "]"}) {
                pior = std::max(pior, mediana(5, [&](int) {
                                    grelha.OrdemGrelha = u'[' + QString::fromUtf8(campo) + QString::fromLatin1(sentido);
                                    grelha.OrdenarColuna();
                                    ecraCheio();
                                }));
            }
            saida << QStringLiteral("  sort by %1, option %2, slower direction: %3 ms\n")
                         .arg(QString::fromUtf8(campo), -18)
                         .arg(opcao)
                         .arg(pior, 0, 'f', 3);
        }
    }
    saida.flush();

    // 3. The look-up list of vehicles: the window made, filled and painted.
    {
        Posto postoLista(lista);
        postoLista.estacao->Acesso.TituloMenu = TitulosMenu::Viaturas;
        Nua nuaLista(lista);
        const long antes = memoriaKb("VmRSS:");
        int linhas = 0;
        const double ms = mediana(5, [&](int) {
            DestinoFalso destino;
            postoLista.estacao->Acesso.TituloMenu = TitulosMenu::Viaturas;
            frmMenu janela(*postoLista.estacao, destino);
            janela.show();
            janela.grab();
            linhas = janela.logica().NumeroLinhas();
            janela.reject();
        });
        const double soLeitura = mediana(5, [&](int) {
            DestinoFalso destino;
            postoLista.estacao->Acesso.TituloMenu = TitulosMenu::Viaturas;
            ListaEscolha logica(*postoLista.estacao, destino);
            logica.Form_Load();
        });
        saida
            << QStringLiteral("  of which the rows read (ListaEscolha::Form_Load): %1 ms\n").arg(soLeitura, 0, 'f', 3);
        DestinoFalso destino;
        frmMenu aberta(*postoLista.estacao, destino);
        aberta.show();
        aberta.grab();
        const long comLista = memoriaKb("VmRSS:");
        const double bare = mediana(5, [&](int) {
            sqlite3_stmt* s = nuaLista.preparar(
                "SELECT \"Código da viatura\", Viatura, \"Código da viatura\", \"Código da entidade\", Entidade, "
                "\"Código do transportador\", Transportador, \"Código do produto\", Produto, "
                "\"Código do local de carga\", \"Local de carga\", \"Código do local de descarga\", "
                "\"Local de descarga\", \"Peso de tara\", \"Peso bruto\", Data FROM Viaturas ORDER BY rowid");
            nuaLista.correr(s);
        });
        medida("lista_viaturas",
               QStringLiteral("%1 vehicles; with it open the process holds %2 MB (%3 MB more)")
                   .arg(linhas)
                   .arg(comLista / 1024)
                   .arg((comLista - antes) / 1024),
               ms, bare);
        aberta.reject();
    }

    // 4. Saves of a level-4 operator: row, vehicle update, document to PDF, grid.
    {
        std::vector<int> livres(semPendente.begin() + 2 * vezesId, semPendente.end());
        ecraGravacao.b1 = QStringLiteral("B1");
        GravacaoPesagens gravacao(estacao, ecraGravacao, grelha);
        auto verificar = [&] {
            for (const auto& c : posto.mensagens.caixas) {
                if (!(c.estilo & Estilo::Pergunta))
                    falhar(QStringLiteral("save failed: ") + c.texto);
            }
            posto.mensagens.caixas.clear();
            if (estacao.UltimaPesagem == 0)
                falhar(QStringLiteral("save failed"));
        };
        const QString pdfs = QFileInfo(base).absolutePath() + QStringLiteral("/impressos");
        const qsizetype pdfsAntes = QDir(pdfs).entryList(QDir::Files).size();
        const double primeira = mediana(vezesGravar, [&](int i) {
            const int v = livres[vez(i)];
            ecraGravacao.preencher(DadosBench::codigo(v), DadosBench::matricula(v), QStringLiteral("12000"));
            ecraGravacao.modo = QStringLiteral("PP");
            gravacao.GravarPrimeiraPesagem();
            verificar();
        });
        const double primeiraNua =
            mediana(vezesGravar, [&](int i) { gravarNua(nua, livres[vezesGravar + 1 + vez(i)], false, pesagens); });
        medida("gravar_primeira", QStringLiteral("row, vehicle update, document to PDF, grid"), primeira, primeiraNua);
        const double segunda = mediana(vezesGravar, [&](int i) {
            const int v = pendentes[vez(i)];
            ecraGravacao.preencher(DadosBench::codigo(v), DadosBench::matricula(v), QStringLiteral("12000"),
                                   QStringLiteral("31500"));
            ecraGravacao.modo = QStringLiteral("SP");
            ecraGravacao.opcao = OpcaoDocumento::Guia;
            ecraGravacao.dataPrimeira = QDateTime(QDate(2026, 12, 5), QTime(9, 15));
            gravacao.GravarSegundaPesagem();
            verificar();
        });
        const double segundaNua =
            mediana(vezesGravar, [&](int i) { gravarNua(nua, pendentes[vezesGravar + 1 + vez(i)], true, pesagens); });
        medida("gravar_segunda", QStringLiteral("number, row, vehicle update, document to PDF, grid"), segunda,
               segundaNua);
        saida << "  (" << QDir(pdfs).entryList(QDir::Files).size() - pdfsAntes << " PDFs written in " << pdfs << ")\n";
    }

    saida << '\n' << QJsonDocument(resultados).toJson(QJsonDocument::Compact) << '\n';
    saida.flush();
    posto.estacao->Bd.reset();
    QFile::remove(base);
    return 0;
}
