// TUlmoDPRelacionarPlanoPlEspec: lists every court account of a company's court system beside the
// company accounts related to it (TCEPLANOPLESPEC) in an editable grid ("nClientDataSet"); saves
// the complete rows through the chart-mapping register, so its rules apply, or deletes the marked
// relations. The work-area variant is the same process under the accounting module's work area.
#pragma once
#include <memory>
#include <string>
#include <vector>

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
  // The company, refused at its parameter when it is no company's code.
  void ValidarDado() override;
  // Loads the grid and what its lookups show (the company's chart, the system's account types,
  // banks and agencies). REQUIRES: a connection is open.
  void Executar() override;
  std::vector<std::string> DataSetsGrade() const override { return {"nClientDataSet"}; }
  // "Salvar Relacionamentos": inserts or edits every marked row through the register in one
  // transaction (all or nothing on an exception), then reloads. Never raises: a failure is a
  // message. A row is marked while complete and ticked or changed by the user; one the user
  // unticks is not saved. With no marked row it says so (an error) and neither writes nor reloads.
  void nActSalvarExecute();
  // "Excluir Relacionamentos": deletes the stored relations of the marked rows all or nothing,
  // then reloads; with no marked related row it says so (an error) and neither writes nor reloads.
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
  // The lookups and the edit checks of the grid's cells.
  void ConfigurarGrade();
  void CarregarConsultas(int AEmpresa);

  std::unique_ptr<nFramework::TSQLDataSet> FcurDados;
  nFramework::TnDMClientDataSet* FDMPlanoPlEspec = nullptr;
  std::unique_ptr<nFramework::TBlockCommand> FBlockCommand;
  std::string FUFSistema;
  nFramework::TClientDataSet* FnClientDataSet = nullptr;
  nFramework::TClientDataSet* FnClientDataSetAux = nullptr;
  bool FCarregando = false;
  // The grid's rows as last posted, to tell what the user changed in the row being posted.
  std::unique_ptr<nFramework::TClientDataSet> FGuardado;
  // What the lookups show, read at each load.
  std::unique_ptr<nFramework::TClientDataSet> FPlanoEmpresa, FTiposConta, FBancos, FAgencias;
};

class TUlmoDPRelacionarPlanoPlEspecAreaTrabalho : public TUlmoDPRelacionarPlanoPlEspec {
  N_CLASSE(TUlmoDPRelacionarPlanoPlEspecAreaTrabalho)
 public:
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
};

}  // namespace nUlmo
