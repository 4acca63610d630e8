#pragma once

#include "platform/Relatorio.h"
#include "reporting/DefinicaoRelatorio.h"
#include "reporting/FormulaSeleccao.h"
#include "reporting/PaginasVisualizacao.h"

#include <QDateTime>
#include <QThread>
#include <memory>

class DestinoRelatorios;
class ProgressoListagem;
class TrabalhoRelatorio;

// One run of a listing, seen from the station's thread: the work in a thread
// of its own, the progress and its "Cancelar", then the preview window (which
// takes this as its pages and keeps the work alive while it is open) or the
// printer. A run for the printer deletes itself when it ends.
class ExecucaoListagem : public PaginasVisualizacao
{
    Q_OBJECT

public:
    ExecucaoListagem(const DefinicaoRelatorio& definicao, const FormulaSeleccao::Clausula& seleccao,
                     const QString& ficheiroBd, const QDateTime& agora, const PedidoRelatorio& pedido,
                     DestinoRelatorios& saida, const QString& pastaPdf, QObject* pai = nullptr);
    // Stops the work and waits for its thread.
    ~ExecucaoListagem() override;

    void iniciar();

    int paginas() const override { return m_paginas; }
    QSizeF tamanho() const override;
    void pedir(int pagina, int largura) override;
    void imprimir() override;

Q_SIGNALS:
    // How a run ended (the preview shown, the pages printed, a failure or a
    // cancellation): an EstadoRelatorio, and the failure when it failed.
    void terminada(int estado, const Erro& falha);
    // A page of the preview drawn without its rows, which could not be read:
    // said once a run (ErroBaseDados), however many pages and turns meet it.
    void paginaFalhou(int estado, const Erro& falha);

private:
    void preparado(int paginas);
    void imprimirTudo(int copias);
    void fimDoTrabalho(int estado, const Erro& falha);
    void mostrarProgresso();
    void fecharProgresso();

    const QString m_nome;
    const QString m_titulo;
    const PedidoRelatorio m_pedido;
    DestinoRelatorios& m_saida;
    const QString m_pastaPdf;
    QThread m_fio;
    TrabalhoRelatorio* m_trabalho;
    std::unique_ptr<ProgressoListagem> m_progresso;
    QString m_pdf;      // the file promised to a print run, while it runs
    QString m_escrito;  // the file it wrote, under that name or the next free one
    int m_paginas = 0;
    bool m_aImprimir = false;
    bool m_mostrada = false;
    bool m_paginaFalhou = false;
};
