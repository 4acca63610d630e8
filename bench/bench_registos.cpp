// Times the station's records work on a large database against the same work
// done with bare SQLite statements on the same file:
//   - finding a vehicle's pending weighing,
//   - saving a second weighing (number, row, backup, document, grid),
//   - reading the recent-weighings grid.
// Usage: bench_registos [weighings] [vehicles]   (default 1000000 and 20000)
#include "EcraGravacaoFalso.h"
#include "records/GravacaoPesagens.h"
#include "records/GrelhaPesagens.h"
#include "data/BaseDadosEstacao.h"
#include "data/Consulta.h"
#include "support/EstacaoTeste.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

QTextStream saida(stdout);

void exigir(int rc, sqlite3* db, const char* onde)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", onde, sqlite3_errmsg(db));
        std::exit(1);
    }
}

sqlite3* abrir(const QString& caminho)
{
    sqlite3* db = nullptr;
    exigir(sqlite3_open_v2(caminho.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");
    sqlite3_busy_timeout(db, 5000);
    return db;
}

void sql(sqlite3* db, const char* texto)
{
    exigir(sqlite3_exec(db, texto, nullptr, nullptr, nullptr), db, texto);
}

QString codigo(int v) { return QStringLiteral("V%1").arg(v, 5, 10, QLatin1Char('0')); }
QString matricula(int v) { return QStringLiteral("%1-AB-%2").arg(v / 100, 2, 10, QLatin1Char('0')).arg(v % 100, 2, 10, QLatin1Char('0')); }

// The vehicles and the weighings: completed ones of kinds G, E, T in turn and
// some cancelled; the trucks still on site (one in twenty of the last 4 000
// rows) pending.
void gerar(const QString& caminho, int pesagens, int viaturas)
{
    sqlite3* db = abrir(caminho);
    sql(db, "PRAGMA synchronous = OFF");
    sql(db, "BEGIN");
    sqlite3_stmt* v = nullptr;
    exigir(sqlite3_prepare_v2(db,
                              "INSERT INTO Viaturas VALUES (?1, ?2, 'C01', 'Cliente', 'T01', 'Transportador', 'P01', "
                              "'Areia', 'LC1', 'Carga', 'LD1', 'Descarga', 12000, 30000, '2026-01-01 08:00:00', "
                              "'08:00', 'Maria')",
                              -1, &v, nullptr),
           db, "prepare viaturas");
    for (int i = 1; i <= viaturas; ++i) {
        const QByteArray c = codigo(i).toUtf8(), m = matricula(i).toUtf8();
        sqlite3_bind_text(v, 1, c.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(v, 2, m.constData(), -1, SQLITE_TRANSIENT);
        exigir(sqlite3_step(v), db, "viatura");
        sqlite3_reset(v);
    }
    sqlite3_finalize(v);

    sqlite3_stmt* p = nullptr;
    exigir(sqlite3_prepare_v2(
               db,
               "INSERT INTO Pesagens (\"Tipo de pesagem\", \"Número de pesagem\", \"Código da viatura\", Viatura, "
               "\"Código da entidade\", Entidade, \"Código do transportador\", Transportador, \"Código do produto\", "
               "Produto, \"Código do local de carga\", \"Local de carga\", \"Código do local de descarga\", "
               "\"Local de descarga\", Observações, \"Peso á entrada\", \"Báscula de entrada\", \"Data de entrada\", "
               "\"Hora de entrada\", \"Peso á saída\", \"Báscula de saída\", \"Data de saída\", \"Hora de saída\", "
               "\"Peso líquido\", Operador) VALUES (?1, ?2, ?3, ?4, 'C01', 'Cliente', 'T01', 'Transportador', 'P01', "
               "'Areia', 'LC1', 'Carga', 'LD1', 'Descarga', '', 12000, 'B1', ?5, '08:00', ?6, ?7, ?8, ?9, ?10, 'Maria')",
               -1, &p, nullptr),
           db, "prepare pesagens");
    const char* const tipos[] = {"G", "E", "T", "G", "E", "T", "G", "E", "T", "A"};
    qint64 numeros[3] = {};
    const QDateTime inicio(QDate(2020, 1, 1), QTime(6, 0));
    for (int i = 1; i <= pesagens; ++i) {
        const int viatura = 1 + (i * 7919) % viaturas;
        const bool pendente = i % 20 == 0 && i > pesagens - 4000;
        const char* tipo = pendente ? "P" : tipos[i % 10];
        const QByteArray c = codigo(viatura).toUtf8(), m = matricula(viatura).toUtf8();
        const QByteArray data = inicio.addSecs(qint64(i) * 120).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
        sqlite3_bind_text(p, 1, tipo, -1, SQLITE_STATIC);
        if (pendente) {
            sqlite3_bind_null(p, 2);
            for (int k = 6; k <= 10; ++k)
                sqlite3_bind_null(p, k);
        } else {
            const int serie = tipo[0] == 'G' ? 0 : tipo[0] == 'E' ? 1 : 2;
            sqlite3_bind_int64(p, 2, ++numeros[serie]);
            sqlite3_bind_int(p, 6, 31000 + i % 500);
            sqlite3_bind_text(p, 7, "B2", -1, SQLITE_STATIC);
            sqlite3_bind_text(p, 8, data.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(p, 9, "08:30", -1, SQLITE_STATIC);
            sqlite3_bind_int(p, 10, tipo[0] == 'A' ? 0 : 19000 + i % 500);
        }
        sqlite3_bind_text(p, 3, c.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(p, 4, m.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(p, 5, data.constData(), -1, SQLITE_TRANSIENT);
        exigir(sqlite3_step(p), db, "pesagem");
        sqlite3_reset(p);
    }
    sqlite3_finalize(p);
    const QByteArray contadores = QStringLiteral("UPDATE Empresas SET Guia = %1, Entrada = %2, \"Talão\" = %3")
                                      .arg(numeros[0]).arg(numeros[1]).arg(numeros[2]).toUtf8();
    sql(db, contadores.constData());
    sql(db, "COMMIT");
    sqlite3_close(db);
}

// Vehicles that have a pending row, oldest first.
std::vector<int> viaturasPendentes(int pesagens, int viaturas, int quantas)
{
    std::vector<int> v;
    for (int i = pesagens - 3980; i <= pesagens && int(v.size()) < quantas; i += 20) {
        const int viatura = 1 + (i * 7919) % viaturas;
        if (std::find(v.begin(), v.end(), viatura) == v.end())
            v.push_back(viatura);
    }
    return v;
}

struct Medida
{
    double mediana = 0;
    double minimo = 0;
};

Medida medir(int vezes, const std::function<void(int)>& operacao)
{
    std::vector<double> ms;
    for (int i = 0; i < vezes; ++i) {
        QElapsedTimer t;
        t.start();
        operacao(i);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front()};
}

void linha(const char* operacao, Medida estacao, Medida nua)
{
    saida << QStringLiteral("%1 %2 ms %3 ms %4x\n")
                 .arg(QString::fromUtf8(operacao), -58)
                 .arg(estacao.mediana, 9, 'f', 3)
                 .arg(nua.mediana, 9, 'f', 3)
                 .arg(nua.mediana > 0 ? estacao.mediana / nua.mediana : 0, 6, 'f', 2);
    saida.flush();
}

// The pending row by code and plate, read to its end, with a bare statement.
qint64 pendenteNua(sqlite3* db, const QByteArray& c, const QByteArray& m)
{
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT \"Pesagem\" FROM \"Pesagens\" WHERE \"Código da viatura\" = ? AND \"Viatura\" = ? "
                       "AND \"Tipo de pesagem\" = 'P' ORDER BY \"Pesagem\" LIMIT 1",
                       -1, &s, nullptr);
    sqlite3_bind_text(s, 1, c.constData(), -1, SQLITE_STATIC);
    sqlite3_bind_text(s, 2, m.constData(), -1, SQLITE_STATIC);
    const qint64 r = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : 0;
    sqlite3_finalize(s);
    return r;
}

void completarNua(sqlite3* db, qint64 pesagem, qint64 numero)
{
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(
        db,
        "UPDATE \"Pesagens\" SET \"Tipo de pesagem\" = 'G', \"Número de pesagem\" = ?1, \"Código da viatura\" = ?2, "
        "\"Viatura\" = ?2, \"Código da entidade\" = 'C01', \"Entidade\" = 'Cliente', \"Código do transportador\" = 'T01', "
        "\"Transportador\" = 'T', \"Código do produto\" = 'P01', \"Produto\" = 'Areia', \"Código do local de carga\" = 'LC1', "
        "\"Local de carga\" = 'C', \"Código do local de descarga\" = 'LD1', \"Local de descarga\" = 'D', "
        "\"Observações\" = '', \"Peso á entrada\" = 12000, \"Báscula de entrada\" = 'B1', "
        "\"Data de entrada\" = '2026-12-05 09:15:00', \"Hora de entrada\" = '09:15', \"Peso á saída\" = 31500, "
        "\"Báscula de saída\" = 'B2', \"Data de saída\" = '2026-12-05 14:30:00', \"Hora de saída\" = '14:30', "
        "\"Peso líquido\" = 19500, \"Operador\" = 'Maria' WHERE \"Pesagem\" = ?3",
        -1, &s, nullptr);
    sqlite3_bind_int64(s, 1, numero);
    sqlite3_bind_text(s, 2, "X", -1, SQLITE_STATIC);
    sqlite3_bind_int64(s, 3, pesagem);
    exigir(sqlite3_step(s), db, "update");
    sqlite3_finalize(s);
}

// The grid's rows, every field, read to their end with a bare statement.
int grelhaNua(sqlite3* db, qint64 acima)
{
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT * FROM \"Pesagens\" WHERE \"Pesagem\" > ? AND \"Tipo de pesagem\" = 'G' "
                       "ORDER BY \"Pesagem\" DESC",
                       -1, &s, nullptr);
    sqlite3_bind_int64(s, 1, acima);
    int n = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(s); ++c) {
            if (sqlite3_column_type(s, c) == SQLITE_TEXT)
                sqlite3_column_text(s, c);
            else
                sqlite3_column_int64(s, c);
        }
        ++n;
    }
    sqlite3_finalize(s);
    return n;
}

// What the grid shows first: a screenful of rows and columns.
void lerEcraDaGrelha(const ModeloGrelhaPesagens& m)
{
    for (int r = 0; r < std::min(30, m.rowCount()); ++r) {
        for (int c = 0; c < m.columnCount(); ++c)
            m.data(m.index(r, c));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int pesagens = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int viaturas = argc > 2 ? std::atoi(argv[2]) : 20000;
    const int vezes = 40;

    EstacaoTeste t;
    const QString principal = t.caminho(QStringLiteral("Pesagem.mdb"));
    const QString copia = t.caminho(QStringLiteral("Copia.mdb"));
    QElapsedTimer relogioGeracao;
    relogioGeracao.start();
    gerar(principal, pesagens, viaturas);
    QFile::copy(principal, copia);
    saida << "database: " << pesagens << " weighings, " << viaturas << " vehicles, made in "
          << relogioGeracao.elapsed() / 1000.0 << " s (main and backup, " << QFileInfo(principal).size() / 1048576
          << " MiB each)\n\n";
    saida << QStringLiteral("%1 %2    %3    ratio\n").arg(QStringLiteral("operation (median of %1)").arg(vezes), -58)
                 .arg(QStringLiteral("station"), 9).arg(QStringLiteral("bare"), 9);
    saida.flush();

    t.abrirBaseDados();
    t.estacao->BdBackup = BaseDadosEstacao::abrir(copia);
    t.estacao->Acesso.NivelAcesso = 2;
    t.estacao->Acesso.NomeOperador = QStringLiteral("Maria");
    t.estacao->Def.CopiasSaida = 1;
    EcraGravacaoFalso ecra;
    GrelhaPesagens grelha(*t.estacao, ecra);
    GravacaoPesagens gravacao(*t.estacao, ecra, grelha);
    sqlite3* nua = abrir(principal);
    sqlite3* nuaCopia = abrir(copia);

    const std::vector<int> pendentes = viaturasPendentes(pesagens, viaturas, 4 * vezes);
    if (int(pendentes.size()) < 4 * vezes) {
        std::fprintf(stderr, "too few pending vehicles\n");
        return 1;
    }

    // 1. The vehicle's pending weighing by code and plate.
    const QString sqlPendente = QStringLiteral(
        "SELECT \"Pesagem\" FROM \"Pesagens\" WHERE \"Código da viatura\" = ? AND \"Viatura\" = ? "
        "AND \"Tipo de pesagem\" = 'P' ORDER BY \"Pesagem\" LIMIT 1");
    const Medida idEstacao = medir(vezes, [&](int i) {
        QSqlQuery q = Consulta::executar(t.estacao->bd(), sqlPendente, {codigo(pendentes[i]), matricula(pendentes[i])});
        if (!q.next())
            std::exit(2);
    });
    const Medida idNua = medir(vezes, [&](int i) {
        if (!pendenteNua(nua, codigo(pendentes[i]).toUtf8(), matricula(pendentes[i]).toUtf8()))
            std::exit(2);
    });
    linha("identify the pending weighing (code and plate)", idEstacao, idNua);

    // 2. A second weighing saved: number, row, backup, document and grid.
    const Medida gravaEstacao = medir(vezes, [&](int i) {
        const int v = pendentes[vezes + i];
        ecra.preencher(codigo(v), matricula(v), QStringLiteral("12000"), QStringLiteral("31500"));
        ecra.modo = QStringLiteral("SP");
        ecra.opcao = OpcaoDocumento::Guia;
        ecra.dataPrimeira = QDateTime(QDate(2026, 12, 5), QTime(9, 15));
        t.mensagens.caixas.clear();
        gravacao.GravarSegundaPesagem();
        if (!t.mensagens.caixas.isEmpty() || t.estacao->UltimaPesagem == 0) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(t.mensagens.caixas.value(0).texto));
            std::exit(3);
        }
    });
    const Medida gravaNua = medir(vezes, [&](int i) {
        const int v = pendentes[2 * vezes + i];
        const QByteArray c = codigo(v).toUtf8(), m = matricula(v).toUtf8();
        sql(nua, "BEGIN IMMEDIATE");
        sql(nua, "UPDATE Empresas SET Guia = COALESCE(Guia, 0) + 1 WHERE Empresa = 1");
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(nua, "SELECT Guia FROM Empresas WHERE Empresa = 1", -1, &s, nullptr);
        sqlite3_step(s);
        const qint64 numero = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
        completarNua(nua, pendenteNua(nua, c, m), numero);
        sql(nua, "COMMIT");
        completarNua(nuaCopia, pendenteNua(nuaCopia, c, m), numero);
        grelhaNua(nua, pesagens - 100);
    });
    linha("save a second weighing (number, row, backup, grid)", gravaEstacao, gravaNua);

    // 3. The grid read again after a save: the last hundred rows, first screenful shown.
    const Medida grelhaEstacao = medir(vezes, [&](int) {
        grelha.RefrescarLista();
        lerEcraDaGrelha(grelha.modelo());
    });
    const qint64 acima = t.estacao->UltimaPesagem - 100;
    const Medida grelhaNuaM = medir(vezes, [&](int) { grelhaNua(nua, acima); });
    linha("refresh the grid after a save (\"Guias\")", grelhaEstacao, grelhaNuaM);

    // 4. The same at start, before any save: every "Guias" row of the table.
    t.estacao->UltimaPesagem = 0;
    const Medida arranqueEstacao = medir(5, [&](int) {
        grelha.RefrescarLista();
        lerEcraDaGrelha(grelha.modelo());
    });
    const Medida arranqueNua = medir(5, [&](int) { grelhaNua(nua, -100); });
    saida << "(" << grelha.modelo().rowCount() << " rows)\n";
    linha("refresh the grid at start, every \"Guias\" row", arranqueEstacao, arranqueNua);

    // 5. A column sorted at start: every "Guias" row by net weight.
    const Medida ordemEstacao = medir(5, [&](int) {
        grelha.dbg_HeadClick(24);
        lerEcraDaGrelha(grelha.modelo());
    });
    saida << QStringLiteral("%1 %2 ms\n").arg(QStringLiteral("sort the start grid by \"Líquido\""), -58)
                 .arg(ordemEstacao.mediana, 9, 'f', 3);

    sqlite3_close(nua);
    sqlite3_close(nuaCopia);
    return 0;
}
