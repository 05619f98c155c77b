// TUlmoDPRelacionarPlanoPlEspec: lists every court account of a company's court system beside the
// company accounts related to it (TCEPLANOPLESPEC) in an editable grid ("nClientDataSet"); saves
// the complete rows through the chart-mapping register, so its rules apply, or deletes the marked
// relations. The work-area variant is the same process under the accounting module's work area.
#pragma once
#include <memory>
#include <string>

#include "ClientDataSet_U.h"
#include "DMClientDataSet_U.h"
#include "PowerParam_U.h"
#include "SQL_U.h"

namespace nUlmo {

class TUlmoDPRelacionarPlanoPlEspec : public nFramework::TnDMPowerParam {
  N_CLASSE(TUlmoDPRelacionarPlanoPlEspec)
 public:
  TUlmoDPRelacionarPlanoPlEspec();

  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return ""; }
  void DataModuleCreate() override;
  // Loads the grid. REQUIRES: a connection is open.
  void Executar() override;
  // "Salvar Relacionamentos": inserts or edits every marked row through the register in one
  // transaction (all or nothing on an exception), then reloads. Never raises: a failure is a message.
  void nActSalvarExecute();
  // "Excluir Relacionamentos": deletes the marked relations all or nothing, then reloads.
  void ActExcluirRelacExecute();

  int CodigoEmpresa() const;
  bool ListarConfigurados() const;
  const std::string& UFSistema() const { return FUFSistema; }
  nFramework::TClientDataSet& nClientDataSet() { return *FnClientDataSet; }

 private:
  std::string PegarUFSistema() const;
  void CopiarParaCadastro(nFramework::TClientDataSet& ALinha, const std::string& APrefixo,
                          std::vector<std::pair<int, std::string>>& AMensagens);
  void nClientDataSetBeforeOpen(nFramework::TClientDataSet& ADataSet);

  std::unique_ptr<nFramework::TSQLDataSet> FcurDados;
  nFramework::TnDMClientDataSet* FDMPlanoPlEspec = nullptr;
  std::unique_ptr<nFramework::TBlockCommand> FBlockCommand;
  std::string FUFSistema;
  nFramework::TClientDataSet* FnClientDataSet = nullptr;
  nFramework::TClientDataSet* FnClientDataSetAux = nullptr;
  bool FCarregando = false;
};

class TUlmoDPRelacionarPlanoPlEspecAreaTrabalho : public TUlmoDPRelacionarPlanoPlEspec {
  N_CLASSE(TUlmoDPRelacionarPlanoPlEspecAreaTrabalho)
 public:
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
};

}  // namespace nUlmo
