#pragma once

#include "platform/Erro.h"
#include "reporting/DefinicaoRelatorio.h"
#include "reporting/DestinoRelatorios.h"
#include "reporting/FormulaSeleccao.h"
#include "reporting/PaginacaoListagem.h"

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QPageLayout>
#include <QString>
#include <atomic>
#include <memory>

class FonteListagem;
class PintorListagem;
class QPainter;

// The work of one listing, done in a thread of its own so the station goes
// on meanwhile: its rows read and its pages counted (preparar), then every
// page painted to the printer or a PDF (imprimir), or single pages drawn for
// the preview as they are asked for (desenhar). Its slots run in its thread,
// one after another; its signals say how it went. Setting `cancelado` stops
// the work in hand at the next row or page.
class TrabalhoRelatorio : public QObject
{
    Q_OBJECT

public:
    TrabalhoRelatorio(const DefinicaoRelatorio& definicao, const FormulaSeleccao::Clausula& seleccao,
                      const QString& ficheiroBd, const QDateTime& agora);
    ~TrabalhoRelatorio() override;

    // The station's page, in the definition's orientation.
    const QPageLayout& folha() const { return m_folha; }

    std::atomic<bool> cancelado{false};

public Q_SLOTS:
    void preparar();
    // Every page, `copias` times, to where `impressao` opens.
    void imprimir(const ImpressaoEscolhida& impressao, int copias);
    // Page `pagina` (from 0) drawn `largura` pixels wide; one whose rows
    // cannot be read is drawn without them (paginaSemLinhas says why).
    void desenhar(int pagina, int largura);
    // Lets go of the database connection and what was read, in this thread.
    void libertar();

Q_SIGNALS:
    void preparado(int paginas);
    void progresso(int pagina, int paginas);
    // The pages printed went into this PDF file (just before terminado).
    void escrito(const QString& ficheiro);
    // How the run ended: an EstadoRelatorio, and the failure when it failed.
    void terminado(int estado, const Erro& falha);
    void desenhada(int pagina, int largura, const QImage& imagem);
    // Page `pagina` was drawn without its rows, which could not be read.
    void paginaSemLinhas(int pagina, const Erro& falha);

private:
    // False when its rows could not be read: then, given `falha`, it is
    // painted without them and `falha` says why; else the failure is thrown.
    bool pintarPagina(QPainter& pintor, int pagina, Erro* falha = nullptr);

    const DefinicaoRelatorio m_definicao;
    const FormulaSeleccao::Clausula m_seleccao;
    const QString m_ficheiroBd;
    const QDateTime m_agora;
    QPageLayout m_folha;
    std::unique_ptr<FonteListagem> m_fonte;
    std::unique_ptr<PintorListagem> m_pintor;
    QList<PaginacaoListagem::Pagina> m_paginas;
};
