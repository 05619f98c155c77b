#include "UlmoEsfingeEnvioGrades_U.h"

#include <string>
#include <type_traits>

#include "TextUtils_U.h"
#include "UlmoEsfingeGrade_U.h"

namespace nUlmoEsfinge {

using namespace nFramework;

namespace {

using nUlmoEsfingeOnline::TColunaGrade;

const char* const kData = "dd/mm/yyyy";
const char* const kCodigo = "0";

void ConfigurarGradeConta(TClientDataSet& g) {
  const char* tce = "Plano de Contas do TCE";
  const char* espec = "Plano Específico";
  g.DisplayCaption = "Conta Contábil";
  nUlmoEsfingeOnline::ConfigurarGrade(
      g, "Enviar",
      {TColunaGrade{.Nome = "DataInicioPlanoTce", .Rotulo = "Data Início Conta TCE", .Formato = kData, .Banda = tce},
       {.Nome = "DataFimPlanoTce", .Rotulo = "Data Fim Conta TCE", .Formato = kData, .Banda = tce},
       {.Nome = "ContaTce", .Rotulo = "Conta TCE", .Formato = kCodigo, .Banda = tce},
       {.Nome = "ContaCtb", .Rotulo = "Conta Contábil", .Formato = kCodigo, .Banda = espec},
       {.Nome = "CodigoConta", .Rotulo = "Código Conta", .Visivel = false},
       {.Nome = "TipoConta", .Rotulo = "S/A", .Lista = "A=2;S=1", .Banda = tce},
       {.Nome = "TipoContaContabil", .Rotulo = "Tipo Conta Contábil", .Visivel = false},
       {.Nome = "DescrTipoContaContabil", .Rotulo = "Tipo Conta Contábil", .Banda = tce},
       {.Nome = "ClassifNomeConta", .Rotulo = "Classificação / Descrição Conta TCE", .Banda = tce},
       {.Nome = "NomeConta", .Rotulo = "Nome Conta", .Visivel = false},
       {.Nome = "DescricaoConta", .Rotulo = "Descrição Conta", .Banda = tce},
       {.Nome = "IndicativoContaAnalitica", .Rotulo = "Indicativo Conta Analítica", .Visivel = false},
       {.Nome = "NumeroNivel", .Rotulo = "Nível Conta TCE", .Banda = tce},
       {.Nome = "TipoNaturezaSaldo", .Rotulo = "Tipo Natureza Saldo", .Lista = "Devedor=1;Credor=2;Misto=3", .Banda = tce},
       {.Nome = "CodigoContaSintetica", .Rotulo = "Código Conta Sintética", .Visivel = false},
       {.Nome = "CodigoBanco", .Rotulo = "Código Banco", .Banda = tce},
       {.Nome = "NomeBanco", .Rotulo = "Descrição Banco", .Banda = tce},
       {.Nome = "CodigoAgenciaBancaria", .Rotulo = "Código Agência", .Banda = tce},
       {.Nome = "NomeAgencia", .Rotulo = "Descrição Agência", .Banda = tce},
       {.Nome = "CodigoContaBancaria", .Rotulo = "Conta Bancária", .Banda = tce},
       {.Nome = "ClassifDescrContaCtb", .Rotulo = "Classificação / Descrição Conta Contábil", .Banda = espec},
       {.Nome = "CodigoContaSinteticaSuperiorTce", .Visivel = false},
       {.Nome = "EstiloLinha", .Visivel = false}});
  // A court account is mapped once per company account and validity.
  g.CamposChave = "ContaTce;ContaCtb;DataInicioPlanoTce";
  // Synthetic accounts (S) stand out.
  g.CampoEstilo = "EstiloLinha";
  g.EstiloDestaque = "negrito-verde";
}

void ConfigurarGradeLcto(TClientDataSet& g) {
  const char* tce = "Dados Lançamento TCE";
  const char* ctb = "Dados Lançamento Contábil";
  g.DisplayCaption = "Lançamento Contábil";
  nUlmoEsfingeOnline::ConfigurarGrade(
      g, "Enviar",
      {TColunaGrade{.Nome = "NumeroSlip", .Rotulo = "Número do Slip", .Banda = tce},
       {.Nome = "NumeroSequencial", .Rotulo = "Número Seqüencial", .Banda = tce},
       {.Nome = "ChaveLctoCtb", .Rotulo = "Sequência Lançamento", .Banda = ctb},
       {.Nome = "ContaTce", .Rotulo = "Conta TCE", .Formato = kCodigo, .Banda = tce},
       // The rows carry 2 on the debit side and 1 on the credit side, and that value goes to
       // the court as it is: the captions follow the values, so a debit row reads "Débito".
       {.Nome = "TipoLancamento", .Rotulo = "Tipo do Lançamento", .Lista = "Débito=2;Crédito=1", .Banda = tce},
       {.Nome = "TipoMovimentoContabil", .Rotulo = "Tipo de Movimento Contábil", .Visivel = false},
       {.Nome = "DescrTipoMovimentoContabil", .Rotulo = "Tipo Movimento Contábil", .Banda = tce},
       {.Nome = "AnoCriacaoConta", .Rotulo = "Ano Criação Conta", .Visivel = false},
       {.Nome = "CodigoContaContabil", .Rotulo = "Código Conta Contábil", .Visivel = false},
       {.Nome = "ClassifDescrContaContabil", .Rotulo = "Classificação / Descrição Conta TCE", .Banda = tce},
       {.Nome = "DataLancamento", .Rotulo = "Data Lançamento Contábil", .Formato = kData, .Banda = ctb},
       {.Nome = "ValorLancamento", .Rotulo = "Valor Lançamento", .Formato = "#,##0.00", .Banda = ctb},
       {.Nome = "HistoricoLancamento", .Rotulo = "Histórico Lançamento", .Banda = ctb},
       {.Nome = "DataInicioPlanoTce", .Rotulo = "Data Início Plano TCE", .Formato = kData, .Banda = tce},
       {.Nome = "DataFimPlanoTce", .Rotulo = "Data Fim Plano TCE", .Formato = kData, .Banda = tce},
       {.Nome = "ContaCtb", .Rotulo = "Conta Contábil", .Formato = kCodigo, .Banda = ctb},
       {.Nome = "ClassifDescrContaCtb", .Rotulo = "Classificação / Descrição Conta", .Banda = ctb}});
  // Numbered once per run, entry rows and opening rows alike.
  g.CamposChave = "NumeroSequencial";
}

}  // namespace

std::unique_ptr<TClientDataSet> NovaGradeContas() {
  auto conta = std::make_unique<TClientDataSet>();
  conta->Name = "nClientDataSetConta";
  conta->AddFieldDef("Enviar", TFieldType::ftSmallint);
  conta->AddFieldDef("DataInicioPlanoTce", TFieldType::ftDate);
  conta->AddFieldDef("DataFimPlanoTce", TFieldType::ftDate);
  conta->AddFieldDef("ContaTce", TFieldType::ftLargeint);
  conta->AddFieldDef("ContaCtb", TFieldType::ftLargeint);
  conta->AddFieldDef("CodigoConta", TFieldType::ftString, 50);
  conta->AddFieldDef("TipoConta", TFieldType::ftInteger);
  conta->AddFieldDef("TipoContaContabil", TFieldType::ftInteger);
  conta->AddFieldDef("DescrTipoContaContabil", TFieldType::ftString, 100);
  conta->AddFieldDef("ClassifNomeConta", TFieldType::ftString, 150);
  conta->AddFieldDef("NomeConta", TFieldType::ftString, 100);
  conta->AddFieldDef("DescricaoConta", TFieldType::ftString, 255);
  conta->AddFieldDef("IndicativoContaAnalitica", TFieldType::ftString, 1);
  conta->AddFieldDef("NumeroNivel", TFieldType::ftInteger);
  conta->AddFieldDef("TipoNaturezaSaldo", TFieldType::ftInteger);
  conta->AddFieldDef("CodigoContaSintetica", TFieldType::ftString, 50);
  conta->AddFieldDef("CodigoBanco", TFieldType::ftInteger);
  conta->AddFieldDef("NomeBanco", TFieldType::ftString, 30);
  conta->AddFieldDef("CodigoAgenciaBancaria", TFieldType::ftInteger);
  conta->AddFieldDef("NomeAgencia", TFieldType::ftString, 50);
  conta->AddFieldDef("CodigoContaBancaria", TFieldType::ftString, 10);
  conta->AddFieldDef("ClassifDescrContaCtb", TFieldType::ftString, 100);
  conta->AddFieldDef("CodigoContaSinteticaSuperiorTce", TFieldType::ftString, 50);
  conta->AddFieldDef("EstiloLinha", TFieldType::ftSmallint);
  conta->CreateDataSet();
  ConfigurarGradeConta(*conta);
  return conta;
}

std::unique_ptr<TClientDataSet> NovaGradeLctos() {
  auto lcto = std::make_unique<TClientDataSet>();
  lcto->Name = "nClientDataSetLcto";
  lcto->AddFieldDef("Enviar", TFieldType::ftSmallint);
  lcto->AddFieldDef("NumeroSlip", TFieldType::ftString, 16);
  lcto->AddFieldDef("NumeroSequencial", TFieldType::ftInteger);
  lcto->AddFieldDef("ChaveLctoCtb", TFieldType::ftInteger);
  lcto->AddFieldDef("ContaTce", TFieldType::ftLargeint);
  lcto->AddFieldDef("TipoLancamento", TFieldType::ftInteger);
  lcto->AddFieldDef("TipoMovimentoContabil", TFieldType::ftInteger);
  lcto->AddFieldDef("DescrTipoMovimentoContabil", TFieldType::ftString, 100);
  lcto->AddFieldDef("AnoCriacaoConta", TFieldType::ftInteger);
  lcto->AddFieldDef("CodigoContaContabil", TFieldType::ftString, 50);
  lcto->AddFieldDef("ClassifDescrContaContabil", TFieldType::ftString, 150);
  lcto->AddFieldDef("DataLancamento", TFieldType::ftDateTime);
  lcto->AddFieldDef("ValorLancamento", TFieldType::ftCurrency);
  lcto->AddFieldDef("HistoricoLancamento", TFieldType::ftString, 150);
  lcto->AddFieldDef("DataInicioPlanoTce", TFieldType::ftDate);
  lcto->AddFieldDef("DataFimPlanoTce", TFieldType::ftDate);
  lcto->AddFieldDef("ContaCtb", TFieldType::ftLargeint);
  lcto->AddFieldDef("ClassifDescrContaCtb", TFieldType::ftString, 150);
  lcto->CreateDataSet();
  ConfigurarGradeLcto(*lcto);
  return lcto;
}

namespace {

template <class T>
void SeHouver(TClientDataSet& g, const char* campo, const std::optional<T>& v) {
  if (!v) return;
  if constexpr (std::is_same_v<T, TDateTime>)
    g.FieldByName(campo).SetAsDateTime(*v);
  else if constexpr (std::is_same_v<T, std::string>)
    g.FieldByName(campo).SetAsString(*v);
  else
    g.FieldByName(campo).SetAsInteger(*v);
}

}  // namespace

void EscreverConta(TClientDataSet& g, const TLinhaContaEsfinge& c) {
  g.Append();
  g.FieldByName("Enviar").SetAsInteger(0);
  SeHouver(g, "DataInicioPlanoTce", c.DataInicioPlanoTce);
  SeHouver(g, "DataFimPlanoTce", c.DataFimPlanoTce);
  SeHouver(g, "ContaTce", c.ContaTce);
  SeHouver(g, "ContaCtb", c.ContaCtb);
  g.FieldByName("CodigoConta").SetAsString(c.CodigoConta);
  g.FieldByName("TipoConta").SetAsInteger(c.TipoConta);
  SeHouver(g, "TipoContaContabil", c.TipoContaContabil);
  g.FieldByName("DescrTipoContaContabil").SetAsString(c.DescrTipoContaContabil);
  g.FieldByName("ClassifNomeConta").SetAsString(c.CodigoConta + " " + c.NomeConta);
  g.FieldByName("NomeConta").SetAsString(c.NomeConta);
  g.FieldByName("DescricaoConta").SetAsString(c.DescricaoConta);
  g.FieldByName("IndicativoContaAnalitica").SetAsString(c.TipoConta == 2 ? "S" : "N");
  g.FieldByName("NumeroNivel").SetAsInteger(QtdNiveis(c.Classificacao));
  SeHouver(g, "TipoNaturezaSaldo", c.TipoNaturezaSaldo);
  g.FieldByName("CodigoContaSintetica").SetAsString(c.CodigoContaSintetica);
  if (c.CodigoBanco > 0) g.FieldByName("CodigoBanco").SetAsInteger(c.CodigoBanco);
  g.FieldByName("NomeBanco").SetAsString(c.NomeBanco);
  if (c.CodigoAgenciaBancaria > 0) g.FieldByName("CodigoAgenciaBancaria").SetAsInteger(c.CodigoAgenciaBancaria);
  g.FieldByName("NomeAgencia").SetAsString(c.NomeAgencia);
  if (c.CodigoContaBancaria > 0) g.FieldByName("CodigoContaBancaria").SetAsString(std::to_string(c.CodigoContaBancaria));
  g.FieldByName("ClassifDescrContaCtb").SetAsString(c.ClassifDescrContaCtb);
  g.FieldByName("CodigoContaSinteticaSuperiorTce").SetAsString(c.CodigoContaSinteticaSuperiorTce);
  g.FieldByName("EstiloLinha").SetAsInteger(c.TipoConta == 1 ? 1 : 0);
  g.Post();
}

void EscreverLcto(TClientDataSet& g, const TLinhaLctoEsfinge& l) { TEscritorGradeLctos(g).Escrever(l); }

TEscritorGradeLctos::TEscritorGradeLctos(TClientDataSet& g)
    : FGrade(g),
      FEnviar(&g.FieldByName("Enviar")),
      FSlip(&g.FieldByName("NumeroSlip")),
      FSeq(&g.FieldByName("NumeroSequencial")),
      FChave(&g.FieldByName("ChaveLctoCtb")),
      FContaTce(&g.FieldByName("ContaTce")),
      FClassifTce(&g.FieldByName("ClassifDescrContaContabil")),
      FTipo(&g.FieldByName("TipoLancamento")),
      FTipoMov(&g.FieldByName("TipoMovimentoContabil")),
      FDescrMov(&g.FieldByName("DescrTipoMovimentoContabil")),
      FAno(&g.FieldByName("AnoCriacaoConta")),
      FCodigo(&g.FieldByName("CodigoContaContabil")),
      FInicio(&g.FieldByName("DataInicioPlanoTce")),
      FFim(&g.FieldByName("DataFimPlanoTce")),
      FContaCtb(&g.FieldByName("ContaCtb")),
      FClassifCtb(&g.FieldByName("ClassifDescrContaCtb")),
      FData(&g.FieldByName("DataLancamento")),
      FValor(&g.FieldByName("ValorLancamento")),
      FHistorico(&g.FieldByName("HistoricoLancamento")) {}

void TEscritorGradeLctos::Escrever(const TLinhaLctoEsfinge& l) {
  auto inteiro = [](TField* f, const auto& v) {
    if (v) f->SetAsInteger(*v);
  };
  auto data = [](TField* f, const std::optional<TDateTime>& v) {
    if (v) f->SetAsDateTime(*v);
  };
  FGrade.Append();
  FEnviar->SetAsInteger(0);
  FSlip->SetAsString(l.NumeroSlip);
  FSeq->SetAsInteger(l.NumeroSequencial);
  inteiro(FChave, l.ChaveLctoCtb);
  inteiro(FContaTce, l.ContaTce);
  FClassifTce->SetAsString(l.ClassifDescrContaContabil);
  FTipo->SetAsInteger(l.TipoLancamento);
  inteiro(FTipoMov, l.TipoMovimentoContabil);
  FDescrMov->SetAsString(l.DescrTipoMovimentoContabil);
  FAno->SetAsInteger(l.AnoCriacaoConta);
  FCodigo->SetAsString(l.CodigoContaContabil);
  data(FInicio, l.DataInicioPlanoTce);
  data(FFim, l.DataFimPlanoTce);
  inteiro(FContaCtb, l.ContaCtb);
  FClassifCtb->SetAsString(l.ClassifDescrContaCtb);
  data(FData, l.DataLancamento);
  FValor->SetAsCurrency(l.ValorLancamento);
  if (l.HistoricoLancamento) FHistorico->SetAsString(*l.HistoricoLancamento);
  FGrade.Post();
}

}  // namespace nUlmoEsfinge
