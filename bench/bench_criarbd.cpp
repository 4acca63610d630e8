// Makes the benchmarks' database once, apart from the runs that time it:
//   bench_criarbd FICHEIRO [pesagens] [viaturas]    (default 1000000 and 20000)
// The file is made by the station's own installation step, then filled with
// the vehicles and weighings of DadosBench.h through bare statements.
#include "DadosBench.h"
#include "data/BaseDadosEstacao.h"
#include "platform/Erro.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

namespace {

void exigir(int rc, sqlite3* db, const char* onde)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", onde, sqlite3_errmsg(db));
        std::exit(1);
    }
}

void sql(sqlite3* db, const char* texto)
{
    exigir(sqlite3_exec(db, texto, nullptr, nullptr, nullptr), db, texto);
}

sqlite3_stmt* preparar(sqlite3* db, const char* texto)
{
    sqlite3_stmt* s = nullptr;
    exigir(sqlite3_prepare_v2(db, texto, -1, &s, nullptr), db, texto);
    return s;
}

void texto(sqlite3_stmt* s, int i, const QString& t)
{
    const QByteArray b = t.toUtf8();
    sqlite3_bind_text(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

// The parties of a vehicle or weighing: a few hundred customers and products.
void partes(sqlite3_stmt* s, int primeiro, int n)
{
    const int cliente = n % 400, transportador = n % 60, produto = n % 25;
    texto(s, primeiro, QStringLiteral("C%1").arg(cliente));
    texto(s, primeiro + 1, QStringLiteral("Cliente %1, Lda.").arg(cliente));
    texto(s, primeiro + 2, QStringLiteral("T%1").arg(transportador));
    texto(s, primeiro + 3, QStringLiteral("Transportes %1").arg(transportador));
    texto(s, primeiro + 4, QStringLiteral("P%1").arg(produto));
    texto(s, primeiro + 5, QStringLiteral("Produto %1").arg(produto));
    texto(s, primeiro + 6, QStringLiteral("LC%1").arg(n % 7));
    texto(s, primeiro + 7, QStringLiteral("Pedreira %1").arg(n % 7));
    texto(s, primeiro + 8, QStringLiteral("LD%1").arg(n % 9));
    texto(s, primeiro + 9, QStringLiteral("Obra %1").arg(n % 9));
}

void gerar(sqlite3* db, qint64 pesagens, int viaturas)
{
    sqlite3_stmt* v = preparar(db, "INSERT INTO Viaturas VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, "
                                   "?13, ?14, ?15, '08:00', 'Maria')");
    for (int i = 1; i <= viaturas; ++i) {
        texto(v, 1, DadosBench::codigo(i));
        texto(v, 2, DadosBench::matricula(i));
        partes(v, 3, i);
        sqlite3_bind_int(v, 13, 11000 + i % 4000);
        sqlite3_bind_int(v, 14, 30000 + i % 9000);
        texto(v, 15, QStringLiteral("2026-01-%1 08:00:00").arg(1 + i % 28, 2, 10, QLatin1Char('0')));
        exigir(sqlite3_step(v), db, "viatura");
        sqlite3_reset(v);
    }
    sqlite3_finalize(v);

    sqlite3_stmt* p = preparar(
        db, "INSERT INTO Pesagens (\"Tipo de pesagem\", \"Número de pesagem\", \"Código da viatura\", Viatura, "
            "\"Código da entidade\", Entidade, \"Código do transportador\", Transportador, \"Código do produto\", "
            "Produto, \"Código do local de carga\", \"Local de carga\", \"Código do local de descarga\", "
            "\"Local de descarga\", Observações, \"Peso á entrada\", \"Báscula de entrada\", \"Data de entrada\", "
            "\"Hora de entrada\", \"Peso á saída\", \"Báscula de saída\", \"Data de saída\", \"Hora de saída\", "
            "\"Peso líquido\", Operador, Empresa) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, "
            "'', ?15, 'B1', ?16, ?17, ?18, ?19, ?20, ?21, ?22, 'Maria', 1)");
    // Guides, entries and tickets in turn, one in ten cancelled.
    const char* const tipos[] = {"G", "E", "T", "G", "E", "T", "G", "E", "T", "A"};
    qint64 numeros[3] = {};
    const QDateTime inicio(QDate(2016, 1, 1), QTime(6, 0), Qt::UTC);
    for (qint64 i = 1; i <= pesagens; ++i) {
        const int viatura = DadosBench::viaturaDaLinha(i, viaturas);
        const bool pendente = DadosBench::pendente(i, pesagens);
        const char* tipo = pendente ? "P" : tipos[i % 10];
        const QDateTime entrada = inicio.addSecs(i * 120);
        const QDateTime saida = entrada.addSecs(1800);
        sqlite3_bind_text(p, 1, tipo, -1, SQLITE_STATIC);
        texto(p, 3, DadosBench::codigo(viatura));
        texto(p, 4, DadosBench::matricula(viatura));
        partes(p, 5, viatura);
        const int tara = 11000 + viatura % 4000;
        sqlite3_bind_int(p, 15, tara);
        texto(p, 16, entrada.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        texto(p, 17, entrada.toString(QStringLiteral("HH:mm")));
        if (pendente) {
            for (int k : {2, 18, 19, 20, 21, 22})
                sqlite3_bind_null(p, k);
        } else {
            const int serie = tipo[0] == 'G' ? 0 : tipo[0] == 'E' ? 1 : 2;
            const int bruto = 20000 + int(i * 37 % 20000);
            sqlite3_bind_int64(p, 2, ++numeros[serie]);
            sqlite3_bind_int(p, 18, bruto);
            sqlite3_bind_text(p, 19, "B2", -1, SQLITE_STATIC);
            texto(p, 20, saida.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            texto(p, 21, saida.toString(QStringLiteral("HH:mm")));
            sqlite3_bind_int(p, 22, tipo[0] == 'A' ? 0 : bruto - tara);
        }
        exigir(sqlite3_step(p), db, "pesagem");
        sqlite3_reset(p);
    }
    sqlite3_finalize(p);
    const QByteArray contadores = QStringLiteral("UPDATE Empresas SET Guia = %1, Entrada = %2, \"Talão\" = %3")
                                      .arg(numeros[0])
                                      .arg(numeros[1])
                                      .arg(numeros[2])
                                      .toUtf8();
    sql(db, contadores.constData());
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: bench_criarbd FICHEIRO [pesagens] [viaturas]\n");
        return 2;
    }
    const QString caminho = QString::fromLocal8Bit(argv[1]);
    const qint64 pesagens = argc > 2 ? std::atoll(argv[2]) : 1000000;
    const int viaturas = argc > 3 ? std::atoi(argv[3]) : 20000;
    if (viaturas < 1 || pesagens < 0) {
        std::fprintf(stderr, "bench_criarbd: at least one vehicle\n");
        return 2;
    }
    QElapsedTimer relogio;
    relogio.start();
    try {
        BaseDadosEstacao::criar(caminho);
    } catch (const Erro& e) {
        std::fprintf(stderr, "bench_criarbd: %s\n", qPrintable(e.descricao));
        return 1;
    }
    sqlite3* db = nullptr;
    exigir(sqlite3_open_v2(caminho.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");
    sql(db, "PRAGMA synchronous = OFF");
    sql(db, "PRAGMA cache_size = -400000");
    sql(db, "BEGIN");
    gerar(db, pesagens, viaturas);
    sql(db, "COMMIT");
    sqlite3_close(db);
    std::printf("%s: %lld weighings, %d vehicles, %.1f MiB, made in %.1f s\n", argv[1], qlonglong(pesagens), viaturas,
                double(QFileInfo(caminho).size()) / 1048576.0, double(relogio.elapsed()) / 1000.0);
    return 0;
}
