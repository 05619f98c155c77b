// TUlmoDPRelacionarBens: lists a company's assets acquired in a period with their TCE-PR
// classification in an editable grid ("nClientDataSet") and stores the complete rows in
// PATBEMRELACTCE, or deletes them. Only for companies whose establishment 1 is in PR.
// The work-area variant is the same process under the accounting module's court work area.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ClientDataSet_U.h"
#include "PowerParam_U.h"
#include "SQL_U.h"

namespace nUlmo {

class TUlmoDPRelacionarBens : public nFramework::TnDMPowerParam {
  N_CLASSE(TUlmoDPRelacionarBens)
 public:
  TUlmoDPRelacionarBens();

  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return ""; }
  void DataModuleCreate() override;
  // The company and the period, each refused at its parameter.
  void ValidarDado() override;
  // Loads the grid and the asset types its lookups show. REQUIRES: a connection is open.
  void Executar() override;
  std::vector<std::string> DataSetsGrade() const override { return {"nClientDataSet"}; }
  // "Salvar Relacionamentos": writes every marked row (GRAVAR = 1), says how many, then
  // reloads. A loaded row is unmarked; it is marked when the user changes it or ticks it, and
  // only while complete; a row the user unticks stays unmarked. With no marked row it says so
  // (an error) and neither writes nor reloads.
  void nActSalvarExecute();
  // "Excluir Relacionamentos": deletes the classification of every marked row, says how many,
  // then reloads; with no marked row it says so (an error) and neither writes nor reloads.
  void ActExcluirRelacExecute();

  nFramework::TClientDataSet& nClientDataSet() { return *FnClientDataSet; }
  bool EhAcaoExclusao() const { return FEhAcaoExclusao; }

 private:
  void ValidarEstado(int AEmpresa);
  void Carregar(int AEmpresa);
  // False when no row is marked: nothing was written.
  bool Gravar();
  void nClientDataSetBeforeOpen();
  void CarregarTipos();

  std::unique_ptr<nFramework::TSQLDataSet> FcurDadosBens;
  std::unique_ptr<nFramework::TBlockCommand> FBlockCommand;
  bool FEhAcaoExclusao = false;
  nFramework::TClientDataSet* FnClientDataSet = nullptr;
  // The grid's rows as last posted, to tell what the user changed in the row being posted.
  std::unique_ptr<nFramework::TClientDataSet> FGuardado;
  // The asset category and detail types, read at each load: the grid shows their descriptions
  // and refuses a code they lack.
  std::unique_ptr<nFramework::TClientDataSet> FCategorias, FDetalhamentos;
  bool FCarregando = false;
};

class TUlmoDPRelacionarBensAreaTrabalho : public TUlmoDPRelacionarBens {
  N_CLASSE(TUlmoDPRelacionarBensAreaTrabalho)
 public:
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
};

}  // namespace nUlmo
