#include "LayoutsPR_U.h"

#include <initializer_list>
#include <vector>

namespace nUlmoPR {

using namespace nFramework;

namespace {

TCampo Texto(const char* nome, int largura) { return {.Nome = nome, .Largura = largura}; }
// An identifier or a count: its digits, no fill.
TCampo Numero(const char* nome, int largura) { return {.Nome = nome, .Largura = largura, .Tipo = TTipoCampo::Numero}; }
// A code of fixed digits ("06", "2024"): zero-filled on the left; an empty level stays empty.
TCampo Codigo(const char* nome, int largura) {
  return {.Nome = nome, .Largura = largura, .Tipo = TTipoCampo::Numero, .Preenchimento = '0'};
}
TCampo Valor(const char* nome) {
  return {.Nome = nome, .Largura = 16, .Tipo = TTipoCampo::Valor, .FormatoValor = TFormatoValor::Ponto, .Sinal = true};
}
TCampo Fim() { return Texto("Fim", 0); }

void Niveis(std::vector<TCampo>& campos, int quantos) {
  static const char* const Nomes[] = {"cdClasse", "cdGrupo",  "cdSubGrupo", "cdTitulo",  "cdSubTitulo", "cdItem",
                                      "cdSubItem", "cdNivel8", "cdNivel9",   "cdNivel10", "cdNivel11",   "cdNivel12"};
  for (int i = 0; i < quantos; ++i) campos.push_back(Codigo(Nomes[i], i < 5 ? 1 : 2));
}

TLeiaute Registro(std::initializer_list<TCampo> antes, int niveis, std::initializer_list<TCampo> depois) {
  TLeiaute l{"REC", {}, "|"};
  l.Campos.insert(l.Campos.end(), antes);
  Niveis(l.Campos, niveis);
  l.Campos.insert(l.Campos.end(), depois);
  l.Campos.push_back(Fim());
  return l;
}

}  // namespace

const TLeiaute& LayoutPessoaSEICED() {
  static const TLeiaute l = Registro(
      {Numero("idTipoDocumentoPessoa", 2), Texto("nrDocumento", 15), Texto("nmPessoa", 100), Texto("dsEndereco", 250),
       Codigo("cdCEP", 8)},
      0, {});
  return l;
}

const TLeiaute& LayoutPlanoContabil() {
  static const TLeiaute l =
      Registro({Numero("idPessoa", 7)}, 12,
               {Codigo("nrAnoAplicacao", 4), Texto("dsConta", 250), Texto("tpNaturezaSaldo", 1),
                Texto("tpEscrituracao", 1), Texto("tpNaturezaInformacao", 1), Texto("tpSuperavitFinanceiro", 1),
                Texto("tpControleConta", 1)});
  return l;
}

const TLeiaute& LayoutSaldoCtbExercAnt() {
  static const TLeiaute l = Registro({Numero("idPessoa", 7), Numero("idPessoaEntidade", 7)}, 8,
                                     {Codigo("nrAnoImplantacao", 4), Texto("tpSuperavitFinanceiro", 1),
                                      Texto("tpNaturezaSaldo", 1), Valor("vlSaldoExercicioAnterior")});
  return l;
}

const TLeiaute& LayoutMovCtbMensal() {
  static const TLeiaute l =
      Registro({Numero("idPessoa", 7)}, 12,
               {Codigo("nrAnoAplicacao", 4), Texto("nrMes", 2), Codigo("idTipoMovimentoContabil", 1),
                Texto("tpSuperavitFinanceiro", 1), Texto("tpIdentifPatQualitativa", 2), Valor("vlDebito"),
                Valor("vlCredito")});
  return l;
}

const TLeiaute& LayoutPlanoContabilEstatal() {
  static const TLeiaute l = Registro({Numero("idPessoa", 7), Numero("cdContaContabil", 50), Codigo("nrAnoAplicacao", 4),
                                      Texto("dsConta", 250), Texto("tpNaturezaSaldo", 1), Texto("tpEscrituracao", 1)},
                                     0, {});
  return l;
}

const TLeiaute& LayoutBalanceteMensalEstatal() {
  static const TLeiaute l =
      Registro({Numero("idPessoa", 7), Codigo("nrMes", 2), Numero("cdContaContabil", 50)}, 12,
               {Codigo("nrAnoAplicacao", 4), Valor("vlDebito"), Valor("vlCredito")});
  return l;
}

const TLeiaute& LayoutBens() {
  static const TLeiaute l = Registro(
      {Texto("idPessoa", 7), Texto("cdBem", 10), Texto("dsBem", 250), Codigo("idTipoPropriedadeBem", 1),
       Texto("idTipoNaturezaBem", 4), Texto("idTipoCategoriaBem", 4), Texto("idTipoDetalhamentoBem", 7),
       Codigo("idTipoUtilizacaoBem", 1),
       // The court declares 8 positions for a date it wants as YYYY-MM-DD: the date is written whole.
       {.Nome = "dtOperacao", .Largura = 0, .Tipo = TTipoCampo::Data, .FormatoData = TFormatoData::AAAA_MM_DD}},
      0, {});
  return l;
}

}  // namespace nUlmoPR
