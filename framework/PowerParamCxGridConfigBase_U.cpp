#include "PowerParamCxGridConfigBase_U.h"

#include <charconv>

#include "Contexto_U.h"
#include "SQL_U.h"

namespace nFramework {

int TextoParaInteiro(std::string_view aTexto) {
  std::string t = Trim(aTexto);
  int valor = 0;
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), valor);
  if (ec != std::errc() || p != t.data() + t.size()) return 0;
  return valor;
}

TnDMPowerParamCxGridConfigBase::TnDMPowerParamCxGridConfigBase() : curDados(AddClientDataSet("curDados")) {
  TnDatasetAction& salvar = npqPowerParam.AddDatasetAction("actSalvar");
  salvar.Caption = "Salvar";
  salvar.DataSet = "curDados";
  salvar.ShortCut = "Ctrl+S";
  salvar.OnExecute = [this](void*) { Salvar(); };
  TnDatasetAction& cancelar = npqPowerParam.AddDatasetAction("actCancelar");
  cancelar.Caption = "Cancelar";
  cancelar.DataSet = "curDados";
  cancelar.Confirmacao = "Deseja descartar as alterações?";
  cancelar.OnExecute = [this](void*) { Cancelar(); };
}

void TnDMPowerParamCxGridConfigBase::CriarGrid() {
  curDados.CreateDataSet();
  for (const std::string& campo : GetCamposConfigurados()) {
    curDados.FieldByName(campo).OnChange = [this](TField&) {
      if (FCarregando) return;
      FAlterado = true;
      if (TField* f = curDados.FindField("Alterado")) f->SetAsInteger(1);
    };
  }
}

void TnDMPowerParamCxGridConfigBase::ValidarDado() {
  TnDMPowerParam::ValidarDado();
  FEmpresa = 0;
  TnParamItem& empresa = Param("pCodigoEmpresa");
  FEmpresa = TextoParaInteiro(empresa.Value());
  if (FEmpresa <= 0) throw EnParam(empresa, "Informe a empresa!");
  if (!PegarTemRegistro("EMPRESA", "CODIGOEMPRESA", "CODIGOEMPRESA = " + std::to_string(FEmpresa)))
    throw EnParam(empresa, "Código da empresa inválido!");
}

void TnDMPowerParamCxGridConfigBase::ConfigSobDemanda() {
  if (FConfigurado) return;
  FConfigurado = true;
  AntesConfigurar(nullptr);
  ConfigurarCxGrid();
  DepoisConfigurar(nullptr);
}

void TnDMPowerParamCxGridConfigBase::Executar() {
  TnDMPowerParam::Executar();
  ConfigSobDemanda();
  Carregar();
}

void TnDMPowerParamCxGridConfigBase::CarregarDados() { curDados.EmptyDataSet(); }

void TnDMPowerParamCxGridConfigBase::Carregar() {
  FCarregando = true;
  try {
    curDados.DisableControls();
    CarregarDados();
    curDados.First();
    curDados.EnableControls();
  } catch (...) {
    curDados.EnableControls();
    FCarregando = false;
    throw;
  }
  FCarregando = false;
  FCarregado = true;
  FAlterado = false;
}

void TnDMPowerParamCxGridConfigBase::Cancelar() {
  if (curDados.State() != TDataSetState::dsBrowse && curDados.Active()) curDados.Cancel();
  if (FCarregado) Carregar();
}

bool TnDMPowerParamCxGridConfigBase::LinhaConfigurada() {
  for (const std::string& campo : GetCamposConfigurados()) {
    const TField& f = curDados.FieldByName(campo);
    if (!f.IsNull() && !Trim(f.AsString()).empty()) return true;
  }
  return false;
}

void TnDMPowerParamCxGridConfigBase::Salvar() {
  if (!FCarregado) throw Exception("Carregue os dados antes de salvar!");
  if (curDados.State() == TDataSetState::dsEdit || curDados.State() == TDataSetState::dsInsert) curDados.Post();
  // The stored rows are already what the grid shows: a script that saves every company need
  // not fail for one that had nothing to change.
  if (!FAlterado) {
    MsgTree(tmAviso, "Nenhuma alteração para gravar.");
    return;
  }
  TBlockCommand bloco;
  bloco.Add(GetSQLDelete());
  TClientDataSet::TBookmark pos = curDados.GetBookmark();
  for (curDados.First(); !curDados.Eof(); curDados.Next()) {
    try {
      ValidarConfiguracao();
    } catch (const Exception& e) {
      // The grid stays on the refused row, so the user sees which one.
      MsgTree(0, e.what());
      throw;
    }
    if (LinhaConfigurada()) bloco.Add(GetSQLInsert());
  }
  curDados.GotoBookmark(pos);
  bloco.Executar();
  FCarregando = true;
  if (TField* f = curDados.FindField("Alterado")) {
    for (curDados.First(); !curDados.Eof(); curDados.Next()) {
      curDados.Edit();
      f->SetAsInteger(0);
      curDados.Post();
    }
    curDados.GotoBookmark(pos);
  }
  FCarregando = false;
  FAlterado = false;
  MsgTree(5, "Configurações gravadas com sucesso!");
}

}  // namespace nFramework
