#include "screen/RegrasEcra.h"

#include "shared/ModoPesagem.h"

namespace RegrasEcra {

QString decidirModo(bool primeiraPendente, bool viaturaEmFicheiro, bool pesagemManual, bool primeiraManual,
                    bool duasPesagens)
{
    if (primeiraPendente)
        return pesagemManual ? Modo::SM : Modo::SP;
    if (pesagemManual)
        return primeiraManual ? Modo::PM : Modo::SM;
    if (viaturaEmFicheiro && !duasPesagens)
        return Modo::SP;  // weighed once, against the tare on file
    return Modo::PP;
}

std::optional<Disposicao> disposicao(const QString& modo)
{
    if (modo == Modo::PP)
        return Disposicao{false, QStringLiteral("Primeira pesagem"), false, -1, -1};
    if (modo == Modo::SP)
        return Disposicao{true, QStringLiteral("Segunda pesagem"), true, -1, -1};
    if (modo == Modo::PM)
        return Disposicao{false, QStringLiteral("Primeira Pesagem Manual"), false, 13, 15};
    if (modo == Modo::SM)
        return Disposicao{true, QStringLiteral("Segunda Pesagem Manual"), true, 13, 18};
    return std::nullopt;
}

int basculaParaPesar(const QString& modo, const std::array<bool, 2>& usavel, const std::array<bool, 2>& carregada)
{
    const std::array<int, 2> ordem = modo == Modo::SP ? std::array<int, 2>{1, 0} : std::array<int, 2>{0, 1};
    for (int i : ordem)
        if (carregada[i])
            return i;
    for (int i : ordem)
        if (usavel[i])
            return i;
    return -1;
}

QList<std::pair<QString, EstadoItem>> menusDoNivel(int nivel)
{
    using E = EstadoItem;
    struct Linha
    {
        const char* item;
        std::array<E, 4> porNivel;
    };
    static const Linha tabela[] = {
        {"mnuPrincipal0", {E::Ligado, E::Ligado, E::Ligado, E::Ligado}},        // &Programa
        {"mnuPrg0", {E::Ligado, E::Ligado, E::Ligado, E::Ligado}},              // &Código de Acesso
        {"mnuPrg2", {E::Desligado, E::Ligado, E::Ligado, E::Ligado}},           // &Sair
        {"mnuPrincipal1", {E::Desligado, E::Desligado, E::Ligado, E::Ligado}},  // &Tabelas
        {"mnuPrincipal2", {E::Desligado, E::Desligado, E::Ligado, E::Ligado}},  // &Estatisticas
        {"mnuPrincipal3", {E::Desligado, E::Ligado, E::Ligado, E::Ligado}},     // &Opções
        {"mnuOpc2", {E::Mantido, E::Desligado, E::Ligado, E::Ligado}},          // &Segunda Via
        {"mnuOpc4", {E::Mantido, E::Desligado, E::Desligado, E::Ligado}},       // Pesagem &Manual
        {"mnuPrincipal4", {E::Desligado, E::Desligado, E::Ligado, E::Ligado}},  // Semá&foros
        {"mnuPrincipal5", {E::Desligado, E::Ligado, E::Ligado, E::Ligado}},     // &Sistema
        {"mnuSis0", {E::Mantido, E::Desligado, E::Desligado, E::Ligado}},       // Acerto de &Data e Hora
        {"mnuSis2", {E::Mantido, E::Ligado, E::Ligado, E::Ligado}},             // Códigos de &Acesso
        {"mnuSis4", {E::Mantido, E::Desligado, E::Desligado, E::Ligado}},       // &Parâmetros Internos
        {"mnuSis6", {E::Mantido, E::Ligado, E::Ligado, E::Ligado}},             // &Calculadora
        {"mnuPrincipal6", {E::Desligado, E::Ligado, E::Ligado, E::Ligado}},     // &Ajuda
    };
    QList<std::pair<QString, EstadoItem>> r;
    if (nivel < 1 || nivel > 4)
        return r;
    for (const Linha& l : tabela)
        r.append({QString::fromLatin1(l.item), l.porNivel[std::size_t(nivel - 1)]});
    return r;
}

QString menuDe(const QString& item)
{
    static const std::pair<const char*, int> prefixos[] = {
        {"mnuPrg", 0}, {"mnuTab", 1}, {"mnuEst", 2}, {"mnuOpc", 3}, {"mnuSmf", 4}, {"mnuSis", 5}, {"mnuAjuda", 6},
    };
    for (const auto& [prefixo, menu] : prefixos)
        if (item.startsWith(QLatin1String(prefixo)))
            return QStringLiteral("mnuPrincipal") + QString::number(menu);
    return {};
}

}  // namespace RegrasEcra
