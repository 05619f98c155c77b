// TnDMClientDataSet: the base of every register (maintenance of one table) and lookup. A
// register declares its select text, key, fields (type, size, label, required, range and its
// message, default, combo list, link to another register, automatic code, expressions) and
// may add checks in ValidarDado; the base loads the rows into "nClientDataSet", checks every
// row before it is posted (an exception leaves the row unposted, in edit), and writes the
// posted changes to the table with ApplyUpdates.
//
// REQUIRES: a connection is open (Conexao()) for loading, checking and writing.
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ClientDataSet_U.h"
#include "DataModule_U.h"
#include "Variant_U.h"

namespace nFramework {

// The definition of a register's field ("Definicao").
struct TnCampoDef {
  std::string Nome{};
  TFieldType Tipo = TFieldType::ftString;
  int Tamanho = 0;  // characters, for text
  std::string Label{};
  std::string Hint{};
  std::string Dicionario{};  // the entry that gives the label and combo list not declared here
  std::string Grupo{};       // the caption of the group box the field opens on the form
  bool Obrigatorio = false;
  std::optional<double> Minimo{}, Maximo{};
  std::string MensagemFaixa{};  // the refusal of a value outside Minimo..Maximo
  std::string Padrao{};         // the value of a new row
  std::string Lista{};          // combo "Caption=Value;..."
  bool Visivel = true;
  bool SomenteLeitura = false;
  // Link to another register: the row of LinkTabela (else the table of LinkCadastro's
  // select) whose LinkChaves columns equal this row's LinkChaves fields must exist.
  std::string LinkCadastro{};
  std::string LinkConsulta{};
  std::string LinkTabela{};
  std::string LinkChaves{};     // ';'-separated; empty: this field alone
  std::string LinkResultado{};  // lookup result fields shown beside it
  bool LinkDirecionaCadastro = true;
  bool AutoIncrementar = false;  // proposes the next free code when left empty
  // Field expressions (FieldExpression_U): enabled, required, cleared, value.
  std::string ExpressaoHabilitado{};
  std::string ExpressaoObrigatorio{};
  std::string ExpressaoLimpar{};
  std::string ExpressaoValue{};
  bool ForcarValor = false;  // the value expression overwrites what the row holds
};

// A detail register shown under this one (a work area's master and details).
struct TnInfoDetalhe {
  std::string Classe{};
  std::string CampoMestre{};
  std::string CampoDetalhe{};
  std::string Texto1{};
  std::string Caption{};
  std::string Texto2{};
  bool Flag1 = true, Flag2 = false, Flag3 = true;
};

// The framework's form kinds (SetTipoForm).
enum TnTipoForm : int {
  ntfCadastro = 0,          // the register's own form
  ntfConGrid = 1,           // the grid consultation form of a lookup
  ntfCadGrid = 2,           // a register edited in a grid
  ntfConPersonalizado = 3,  // a lookup with its own consultation form (SetFormConsulta)
  ntfAreaTrabalho = 5,      // a detail grid of a work area
};

class TnDMClientDataSet : public TnDataModule {
  N_CLASSE(TnDMClientDataSet)
 public:
  TnDMClientDataSet();
  ~TnDMClientDataSet() override;

  // Declaration (the form resource).
  void SetCommandText(std::string aSelect) { FCommandText = std::move(aSelect); }
  const std::string& CommandText() const { return FCommandText; }
  void SetOrdem(std::string aOrdem) { FOrdem = std::move(aOrdem); }
  const std::string& Ordem() const { return FOrdem; }
  void SetCaption(std::string aCaption) { FCaption = std::move(aCaption); }
  const std::string& Caption() const { return FCaption; }
  void SetPodeAlterarChave(bool aValor) { FPodeAlterarChave = aValor; }
  bool PodeAlterarChave() const { return FPodeAlterarChave; }
  void SetCadCons(std::string aClasse) { FCadCons = std::move(aClasse); }
  const std::string& CadCons() const { return FCadCons; }
  void SetLogChanges(bool aValor) { FLogChanges = aValor; }
  // The consultation form class of a lookup with form kind ntfConPersonalizado.
  void SetFormConsulta(std::string aClasse) { FFormConsulta = std::move(aClasse); }
  const std::string& FormConsulta() const { return FFormConsulta; }
  // The table written; empty: the first table of the select text.
  void SetTabela(std::string aTabela) { FTabela = std::move(aTabela); }
  std::string Tabela() const;
  TnCampoDef& AddCampo(TnCampoDef aDef);
  // Raises EInternalError for a field the register does not have.
  TnCampoDef& Definicao(std::string_view aCampo);
  TnCampoDef* FindDefinicao(std::string_view aCampo);
  const std::vector<TnCampoDef>& Campos() const { return FCampos; }
  // The framework's form kind (5: the work-area grid).
  void SetTipoForm(int aTipo) { FTipoForm = aTipo; }
  int TipoForm() const { return FTipoForm; }
  void AddInfoDetalhe(std::string aClasse, std::string aCampoMestre, std::string aCampoDetalhe, std::string aTexto1,
                      std::string aCaption, std::string aTexto2, bool aFlag1, bool aFlag2, bool aFlag3);
  const std::vector<TnInfoDetalhe>& Detalhes() const { return FDetalhes; }

  // Virtual operations.
  // The key fields joined by ';'.
  virtual std::string ChavePrimaria() const { return {}; }
  // 1 register, 2 lookup.
  virtual int PegarTipoObjeto() const { return 1; }
  // Builds the dataset's structure from the declared fields (and the select's columns).
  void AntesConfigurar(void* aForm) override;
  // Checks the current row before it is posted: required fields (key fields always are), no
  // new value in a field its rules disable, text sizes and integer types, ranges, combo values
  // and links. Overrides run it first, then their own checks, and raise to refuse the row.
  virtual void ValidarDado();

  // Configures without a screen (once).
  void ConfigSobDemanda();
  // Applies the field configuration again (the expressions of every field, and each field's
  // ReadOnly and Required flags), as after a change of aField that others depend on.
  void ChecarConfigurarCampo(TField& aField);
  // Whether a field is enabled and required now, by its definition and expressions.
  bool CampoHabilitado(std::string_view aCampo);
  bool CampoObrigatorio(std::string_view aCampo);

  TClientDataSet& nClientDataSet() { return *FDataSet; }
  // Loads every row of the select. Pending changes are dropped.
  void Abrir();
  bool Aberto() const { return FDataSet->Active(); }
  void Refresh() { Abrir(); }
  // Loads the rows of the select that meet the condition (column names of the select).
  void FetchRegistros(const std::string& aFiltro);
  // Writes the posted changes (inserts, updates, deletes) in one transaction. When more than
  // aMaxErrors fail nothing is written; else the rest is written and the failed ones stay
  // pending. Returns the number that failed; their messages are in ErrosApplyUpdates.
  int ApplyUpdates(int aMaxErrors);
  size_t AlteracoesPendentes() const { return FAlteracoes.size(); }
  const std::vector<std::string>& ErrosApplyUpdates() const { return FErros; }

  // The key fields, and a condition that selects the current row by them.
  std::vector<std::string> CamposChave() const;

 private:
  enum class TTipoAlteracao { Insercao, Alteracao, Exclusao };
  struct TAlteracao {
    TTipoAlteracao Tipo;
    int64_t Linha;
    std::vector<TVariant> ChaveOriginal;
  };

  void CriarEstrutura(const TClientDataSet* aModelo);
  void Carregar(const std::string& ASQL);
  void AntesPost();
  void DepoisPost();
  void AntesExcluir();
  void AoNovoRegistro();
  void AplicarExpressoes();
  void AtualizarEstadoCampos();
  std::optional<TVariant> ValorDoCampo(const std::string& aNome);
  // Whether the row in edit brings a value into a field its rules disable: a new row, a value
  // other than the stored one, or a stored value that the field took while it was enabled.
  bool InformadoComCampoDesabilitado(const TnCampoDef& aDef, const TField& aField);
  void ChecarChave(const std::vector<TVariant>* aChaveOriginal);
  // "Código = '7'": the key's captions and values, as the register names a row.
  std::string DescricaoChave(const std::vector<TVariant>& aValores);
  // The register's words for a change the database refused.
  std::string MensagemFalha(const TAlteracao& aAlteracao, const std::exception& aErro);
  std::vector<TVariant> ValoresChave();
  std::vector<TVariant> ChaveGuardada(int64_t aLinha);
  std::string Condicao(const std::vector<std::string>& aCampos, const std::vector<TVariant>& aValores) const;
  const std::vector<std::string>& ColunasTabela();
  void Aplicar(const TAlteracao& aAlteracao);

  std::string FCommandText, FOrdem, FCaption, FCadCons, FTabela, FFormConsulta;
  bool FPodeAlterarChave = true;
  bool FLogChanges = true;
  bool FConfigurado = false;
  int FTipoForm = 0;
  std::vector<TnCampoDef> FCampos;
  std::vector<TnInfoDetalhe> FDetalhes;
  TClientDataSet* FDataSet;
  std::unique_ptr<TClientDataSet> FCursor;  // a clone: reads stored rows while one is edited
  bool FCarregando = false;
  TDataSetState FEstadoPost = TDataSetState::dsBrowse;
  std::vector<TVariant> FChaveOriginalPost;
  std::vector<TAlteracao> FAlteracoes;
  std::vector<std::string> FErros;
  std::vector<std::string> FColunasTabela;
};

// A selection key of a register (PegarVerificaSelecao): the register's field of that name
// (nullptr when it has none, or only a lookup field), and the value the user's current
// selection gives it (nullopt when the selection lacks the key).
struct TnChaveSelecao {
  std::string Chave;
  TField* Campo = nullptr;
  std::optional<TVariant> Valor;
};
// Every selection key of the register, in its order. A front end lists and inserts rows under
// the keys it has and refuses to open the register while one lacks a value.
std::vector<TnChaveSelecao> ChavesSelecao(TnDMClientDataSet& aReg);
// "CAMPO = valor and ...": the condition of the keys that have both a field and a value.
std::string CondicaoSelecao(const std::vector<TnChaveSelecao>& aChaves);

}  // namespace nFramework
