#include "platform/FicheiroPerfil.h"
#include "startup/ModGlobalIni.h"
#include "support/EstacaoTeste.h"

#include <QFile>
#include <QtTest>

// A large settings file is parsed once per load and written once per save,
// and a change by another program is still seen at the next call.
class TesteIniGrande : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void umaLeituraPorCarga()
    {
        QTemporaryDir pasta;
        const QString caminho = pasta.filePath(QStringLiteral("Lorvane.ini"));
        QByteArray bytes;
        for (int i = 0; bytes.size() < 8'000'000; ++i)
            bytes += "[Extra" + QByteArray::number(i) + "]\nChave=" + QByteArray(40, 'x') + "\n";
        // The first section of a name counts, also behind 8 MB.
        bytes += "[IndicadorB1]\nDivisao=50\n[indicadorb1]\nDivisao=99\n";
        // Changed an hour ago, as a site's file is when the station starts.
        const auto envelhecer = [&] {
            QFile f(caminho);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        };
        escreverFicheiro(caminho, bytes);
        envelhecer();

        FicheiroPerfil ini(caminho);
        Definicoes d;
        ModGlobal::LerDefinicoes(ini, pasta.path(), d);
        ModGlobal::LerDefinicoes(ini, pasta.path(), d);
        QCOMPARE(d.IndDivisao[0], qint16(50));
        QCOMPARE(ini.leituras(), 1);

        // Another program changes a value in place, same size, same modification time.
        escreverFicheiro(caminho, QByteArray(bytes).replace("Divisao=50", "Divisao=60"));
        envelhecer();
        ModGlobal::LerDefinicoes(ini, pasta.path(), d);
        QCOMPARE(d.IndDivisao[0], qint16(60));
        QCOMPARE(ini.leituras(), 2);

        // The factory values go out in one replacement; what was written is read without a parse.
        QCOMPARE(ModGlobal::ValoresPorDefeito(ini, pasta.path(), d), 0);
        QCOMPARE(ini.substituicoes(), 1);
        d = Definicoes();
        ModGlobal::LerDefinicoes(ini, pasta.path(), d);
        QCOMPARE(d.IndDivisao[0], qint16(20));
        QCOMPARE(ini.leituras(), 2);
        QCOMPARE(FicheiroPerfil(caminho).ler(QStringLiteral("IndicadorB1"), QStringLiteral("Divisao"), {}),
                 QStringLiteral("20"));
        QVERIFY(lerFicheiro(caminho).contains("[indicadorb1]\nDivisao=99\n"));
    }
};

QTEST_GUILESS_MAIN(TesteIniGrande)
#include "tst_IniGrande.moc"
