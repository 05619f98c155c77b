#include "UlmoDPTCESagresGrid_U.h"

#include <cctype>
#include <optional>

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "Clock_U.h"
#include "DateUtils_U.h"
#include "Exceptions_U.h"
#include "FormatUtils_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"

namespace nUlmo {

using namespace nFramework;

std::string FormatarSQL(std::string_view aTexto, const std::vector<std::string>& aArgs) {
  std::string r;
  for (size_t i = 0; i < aTexto.size(); ++i) {
    if (aTexto[i] != '%') {
      r += aTexto[i];
      continue;
    }
    size_t j = i + 1, n = 0;
    bool digito = false;
    while (j < aTexto.size() && std::isdigit(static_cast<unsigned char>(aTexto[j]))) {
      n = n * 10 + static_cast<size_t>(aTexto[j++] - '0');
      digito = true;
    }
    if (!digito || j + 1 >= aTexto.size() || aTexto[j] != ':' || aTexto[j + 1] != 's' || n >= aArgs.size())
      throw EInternalError("formato SQL inválido: " + std::string(aTexto));
    r += aArgs[n];
    i = j + 1;
  }
  return r;
}

TUlmoDPTCESagresRegraGrid::TUlmoDPTCESagresRegraGrid(std::vector<std::string> aCodigos,
                                                     std::vector<std::string> aDescricoes)
    : FCodigos(std::move(aCodigos)), FDescricoes(std::move(aDescricoes)) {
  AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CODIGOEMPRESA"});
}

void TUlmoDPTCESagresRegraGrid::CriarRegra() {
  if (FDMRegra) return;
  FDMRegra = std::make_unique<TnDMRegraBaseCalculo>();
  FDMRegra->RegistrarCTB();
}

void TUlmoDPTCESagresRegraGrid::ConfigurarColunas(const std::string& ACaption) {
  curDados.DisplayCaption = ACaption;
  std::string chave;
  for (const auto& c : FDescricoes) chave += (chave.empty() ? "" : ";") + c;
  curDados.CamposChave = chave;
  curDados.CampoEstilo = "Alterado";
  curDados.EstiloDestaque = "fonte-verde";
  for (const auto& c : FCodigos) {
    curDados.FieldByName(c).Visible = false;
    curDados.FieldByName(c).ReadOnly = true;
  }
  DescricoesSomenteLeitura(true);
  TField& alterado = curDados.FieldByName("Alterado");
  alterado.Visible = false;
  alterado.ReadOnly = true;
  TField& regra = curDados.FieldByName("RegraCalculo");
  regra.DisplayLabel = "Regra";
  regra.DisplayWidth = 60;
  regra.OnValidate = [this](TField&, const std::string& ATexto) {
    VerificarTamanho(ATexto);
    CriarRegra();
    if (!Trim(ATexto).empty() && !FDMRegra->ValidarFormulaCTB(ATexto))
      throw EnCampoGrid("RegraCalculo", "Regra definida é inválida.");
  };
  regra.OnButtonClick = [this](TField&) { curDadosRegraCalculoDefIntButtonClick(); };
}

void TUlmoDPTCESagresRegraGrid::VerificarTamanho(const std::string& aTexto) {
  // The grid would keep only the first characters: another rule than the one checked.
  const TField& regra = curDados.FieldByName("RegraCalculo");
  if (regra.Size() > 0 && Utf8Length(aTexto) > static_cast<size_t>(regra.Size()))
    throw EnCampoGrid("RegraCalculo", "A regra passa de " + std::to_string(regra.Size()) + " caracteres.");
}

void TUlmoDPTCESagresRegraGrid::CarregarSaldos() {
  CriarRegra();
  if (FEmpresaSaldos == Empresa() && FDMRegra->TemPlano()) return;
  FDMRegra->SetcdsPlano(nullptr);
  FEmpresaSaldos = Empresa();
  try {
    if (!FSaldo) FSaldo = std::make_unique<nUlmoSaldoCtb::TSaldoCtbTipado>();
    // A rule is evaluated month by month; the year up to the latest entry shows what it takes.
    auto ultimo = ExecutarSQL("select max(DATALCTOCTB) from LCTOCTB where CODIGOEMPRESA = :CODIGOEMPRESA",
                              {TVariant(Empresa())});
    std::optional<TDateTime> data = ultimo->Fields(0).IsNull() ? std::nullopt
                                                               : TryISOToDateTime(ultimo->Fields(0).AsString());
    TDateTime fim = EndOfTheMonth(data ? *data : Now());
    TDateTime inicio = EncodeDate(YearOf(fim), 1, 1);
    nUlmoSaldoCtb::TPedidoSaldoCtb pedido;
    pedido.CodigoEmpresa = Empresa();
    pedido.DataInicial = inicio;
    pedido.DataFinal = fim;
    pedido.ListarContasMovimentoZero = true;
    FSaldo->Executar(pedido);
    TClientDataSet& saldos = FSaldo->Dados();
    FDMRegra->SetcdsPlano(&saldos, "Saldos de " + DateToStr(inicio) + " a " + DateToStr(fim));
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    // The editor still edits; it only has no values to show.
    FDMRegra->SetcdsPlano(nullptr, std::string("Saldos indisponíveis: ") + e.what());
  }
}

void TUlmoDPTCESagresRegraGrid::AntesConfigurar(void* aForm) {
  TnDMPowerParamCxGridConfigBase::AntesConfigurar(aForm);
  for (const auto& c : FCodigos) curDados.FieldByName(c).Visible = false;
  DescricoesSomenteLeitura(true);
  CriarRegra();
}

void TUlmoDPTCESagresRegraGrid::DescricoesSomenteLeitura(bool aValor) {
  for (const auto& c : FDescricoes) curDados.FieldByName(c).ReadOnly = aValor;
}

void TUlmoDPTCESagresRegraGrid::ValidarConfiguracao() {
  TnDMPowerParamCxGridConfigBase::ValidarConfiguracao();
  CriarRegra();
  TField& regra = curDados.FieldByName("RegraCalculo");
  // A blank rule is no rule: the row is simply not stored.
  if (!regra.IsNull() && !Trim(regra.AsString()).empty() && !FDMRegra->ValidarFormulaCTB(regra.AsString()))
    throw EnCampoGrid("RegraCalculo", "Regra definida é inválida.");
}

void TUlmoDPTCESagresRegraGrid::curDadosRegraCalculoDefIntButtonClick() {
  CriarRegra();
  TField& regra = curDados.FieldByName("RegraCalculo");
  std::string antes = regra.AsString();
  CarregarSaldos();
  std::string depois = FDMRegra->MontarFormulaCTB(antes);
  if (depois == antes) return;
  VerificarTamanho(depois);
  if (curDados.State() != TDataSetState::dsEdit && curDados.State() != TDataSetState::dsInsert) curDados.Edit();
  regra.SetAsString(depois);
  curDados.Post();
}

void TUlmoDPTCESagresRegraGrid::DataModuleDestroy() {
  TnDMPowerParamCxGridConfigBase::DataModuleDestroy();
  if (FDMRegra) FDMRegra->SetcdsPlano(nullptr);
  FSaldo.reset();
  FDMRegra.reset();
}

void TUlmoDPTCESagresRegraGrid::DefinirRegra(const std::string& aRegra) {
  TField& regra = curDados.FieldByName("RegraCalculo");
  if (aRegra.empty())
    regra.Clear();
  else
    regra.SetAsString(aRegra);
}

std::string TUlmoDPTCESagresRegraGrid::RegraGuardada(TClientDataSet& aRegras, std::string_view aCampos,
                                                     const std::vector<TVariant>& aChave) {
  if (!aRegras.Locate(aCampos, aChave)) return "";
  const TField& f = aRegras.FieldByName("REGRACALCULOCTB");
  return f.IsNull() ? "" : f.AsString();
}

}  // namespace nUlmo
