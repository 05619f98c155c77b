// TnDMPowerParam: the base of every process with a parameter panel. A process declares its
// parameter items (the panel), validates (ValidarDado) and runs (Executar); it speaks only
// through its message tree and progress frame. Overrides of ValidarDado and Executar run the
// inherited step first. The framework's run of a process is nExecutarProcesso.
#pragma once
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ControleMensagem_U.h"
#include "DataModule_U.h"
#include "Dicionario_U.h"
#include "Exceptions_U.h"
#include "Progresso_U.h"
#include "Variant_U.h"

namespace nFramework {

// One parameter item as a process declares it.
struct TnParamDef {
  std::string Alias{};
  std::string Caption{};     // empty: the dictionary's caption
  std::string Dicionario{};  // data-dictionary entry ("DICDATA", "CODIGOEMPRESA")
  std::string Padrao{};      // default value
  bool Obrigatorio = false;
  std::string Hint{};
  bool Visivel = true;
  std::string Pagina{};                // empty: "Parâmetros"
  std::string Separador{};             // caption of a separator shown above the item
  std::string Lista{};                 // combo "Caption=Value;..."; empty: the dictionary's
  std::string ExpressaoHabilitado{};   // the item is enabled while this holds
  std::string ExpressaoObrigatorio{};  // when given, the item is required exactly while it holds
  std::string ClasseLookup{};          // empty: the dictionary's
  std::string CampoLookup{};
  bool MultiplosValores = false;  // several lookup values may be picked (free text)
};

class TnPowerParamPanel;

class TnParamItem {
 public:
  TnParamItem(TnPowerParamPanel& aPanel, TnParamDef aDef);

  const TnParamDef& Def() const { return FDef; }
  const std::string& Alias() const { return FDef.Alias; }
  // The item's caption, else its dictionary's, else its alias.
  std::string Caption() const;
  const TnEntradaDicionario* EntradaDicionario() const;
  TnControle Controle() const;
  // The combo's (caption, value) pairs; empty for other controls.
  std::vector<std::pair<std::string, std::string>> Escolhas() const;
  std::string ClasseLookup() const;

  // The value as the control holds it.
  const std::string& Value() const { return FValor; }
  const std::string& AsString() const { return FValor; }
  void SetValue(std::string aValor) { FValor = std::move(aValor); }
  // Whether a value was set since the last reset (defaults do not count).
  bool Alterado() const { return FValor != FDef.Padrao; }
  void Restaurar() { FValor = FDef.Padrao; }

  bool Habilitado() const;
  bool Obrigatorio() const;

 private:
  TnPowerParamPanel& FPanel;
  TnParamDef FDef;
  std::string FValor;
};

// A parameter error: carries the item's alias and caption; its text is the message.
class EnParam : public Exception {
 public:
  EnParam(const TnParamItem& aItem, const std::string& aMensagem)
      : Exception(aMensagem), FAlias(aItem.Alias()), FCaption(aItem.Caption()) {}
  const std::string& Alias() const { return FAlias; }
  const std::string& Caption() const { return FCaption; }

 private:
  std::string FAlias, FCaption;
};

// An action a process offers on its panel or on one of its datasets.
class TnDatasetAction : public TnAction {
 public:
  using TnAction::TnAction;
  std::string DataSet;       // the component it works on ("nClientDataSet")
  std::string ShortCut;      // "Ctrl+S"
  std::string Confirmacao;   // asked first (Sim/Não) when not empty
  bool DisponivelWeb = true;
  bool Log = true;
};

class TnPowerParamPanel {
 public:
  TnPowerParamPanel() = default;
  TnPowerParamPanel(const TnPowerParamPanel&) = delete;
  TnPowerParamPanel& operator=(const TnPowerParamPanel&) = delete;

  std::string Caption;
  // A notice the panel shows above its parameters; empty: none.
  std::string Alerta;

  // Appends an item (panel order); raises EInternalError for a repeated alias.
  TnParamItem& Add(TnParamDef aDef);
  // Raises EInternalError for an unknown alias (a process asking for what it did not declare).
  TnParamItem& Param(std::string_view aAlias) const;
  TnParamItem* FindParam(std::string_view aAlias) const;
  const std::vector<std::unique_ptr<TnParamItem>>& Itens() const { return FItens; }

  // The value of a name in the items' expressions: an alias, without regard to case.
  std::optional<TVariant> ValorDoNome(const std::string& aNome) const;
  // Every item back to its default.
  void Restaurar();
  // Empty items named "p" + a key of the current selection take the selection's value
  // ("pCodigoEmpresa" from "CODIGOEMPRESA").
  void PreencherDaSelecao();
  // The controls' own checks, item by item in panel order: a required item must have a
  // value, and a value must suit its control (a date, a number, an item of the combo).
  // Raises EnParam at the first item that fails.
  void Validar() const;
  // The value the control keeps for a typed text: a combo accepts an item's caption too.
  std::string NormalizarValor(const TnParamItem& aItem, const std::string& aTexto) const;

  // Actions of the panel: those the process declares (owned) and those a form adds.
  TnDatasetAction& AddDatasetAction(const std::string& aName);
  void AddAction(TnAction& aAction) { FAcoesExternas.push_back(&aAction); }
  // Drops an action a form added (the form is going away); nothing when it is not there.
  void RemoverAction(TnAction& aAction) { std::erase(FAcoesExternas, &aAction); }
  std::vector<TnAction*> Acoes() const;
  TnAction* FindAction(std::string_view aName) const;

 private:
  std::vector<std::unique_ptr<TnParamItem>> FItens;
  TnActionList FAcoes;
  std::vector<TnAction*> FAcoesExternas;
};

class TnDMPowerParam : public TnDataModule {
  N_CLASSE(TnDMPowerParam)
 public:
  TnDMPowerParam();
  ~TnDMPowerParam() override;

  // Checks the parameters before a run; raises EnParam (or Exception) to refuse.
  virtual void ValidarDado() {}
  // The run.
  virtual void Executar() {}
  // The datasets the process shows as grids, in tab order (component names); empty: none.
  virtual std::vector<std::string> DataSetsGrade() const { return {}; }

  // The panel.
  TnPowerParamPanel npqPowerParam;
  void SetCaption(std::string aCaption) { npqPowerParam.Caption = std::move(aCaption); }
  const std::string& Caption() const { return npqPowerParam.Caption; }
  TnParamItem& AddParam(TnParamDef aDef) { return npqPowerParam.Add(std::move(aDef)); }
  TnParamItem& Param(std::string_view aAlias) const { return npqPowerParam.Param(aAlias); }
  std::string GetControlValues(std::string_view aAlias) const { return Param(aAlias).Value(); }
  // Forgets the values kept from earlier runs: every item back to its default.
  void LimparParamsINI() { npqPowerParam.Restaurar(); }

  // Messages.
  void SetMsgTreeExibir(bool aValor) { FMsgTreeExibir = aValor; }
  bool MsgTreeExibir() const { return FMsgTreeExibir; }
  void SetMsgExibir(bool aValor) { FMsgExibir = aValor; }
  bool MsgExibir() const { return FMsgExibir; }
  std::shared_ptr<ITreeMessager> GetMsgTreeLista() const { return FMsgTree; }
  TnMsgNode* MsgTree(int aTipo, const std::string& aTexto, TnMsgNode* aPai = nullptr);

  // The process's progress frame, created on first use and owned by the process.
  TnFraProgresso& GetProgresso();

  // Runs a panel action by name, asking its confirmation first; false when the user declined.
  // Raises EInternalError for an unknown name.
  bool ExecutarAcao(std::string_view aName);

  // Settings of the process base that creation handlers set; their meaning is the maker's
  // framework's, and nothing here depends on them.
  void SetOpcoesProcesso(std::initializer_list<int> aValores) { FOpcoes.assign(aValores); }
  const std::vector<int>& OpcoesProcesso() const { return FOpcoes; }

 private:
  bool FMsgTreeExibir = false;
  bool FMsgExibir = false;
  std::shared_ptr<ITreeMessager> FMsgTree;
  std::unique_ptr<TnFraProgresso> FProgresso;
  std::vector<int> FOpcoes;
};

// The framework's run of a process: clears its message tree, fills empty items from the
// selection, runs the panel's checks, ValidarDado and Executar. Exceptions leave as raised.
void nExecutarProcesso(TnDMPowerParam& aProcesso);

// Before a run: the controller keeps no tree and an empty list of its own, so what it holds
// after the run is the run's.
void nPrepararMensagensExecucao();
// Where a run's messages went, for a front end to show: the process's tree, the tree attached
// to the controller when it is another, and the controller's own list, in that order.
std::vector<const ITreeMessager*> nArvoresDaExecucao(const TnDMPowerParam& aProcesso);
// The run failed by its messages: an error or a stop in any of those trees.
bool nExecucaoFalhou(const TnDMPowerParam& aProcesso);

}  // namespace nFramework
