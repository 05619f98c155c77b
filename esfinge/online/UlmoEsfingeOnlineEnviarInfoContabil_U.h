// TUlmoEsfingeOnlineEnviarInfoContabil: one online sending run. Finds the months to send in
// the marked rows, logs in (only when there is a package to send) and builds and sends each
// month's package in turn, in three calls (start, partial send, finish),
// cancelling the partial send when a later call fails, and records each finished package's
// receipt. The first failure ends the run as an error in the message controller; packages
// already finished stay sent and recorded. Datasets, tree and progress frame are not owned.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "UlmoEsfingeOnlineInterfaces_U.h"

namespace nUlmoEsfingeOnline {

class TUlmoEsfingeOnlineEnviarInfoContabil : public IEnviarInfoContabil {
 public:
  static std::shared_ptr<IEnviarInfoContabil> New();
  IEnviarInfoContabil& Config(const TRecConfig& AConfig) override;
  IEnviarInfoContabil& DataSets(nFramework::TClientDataSet& ACdsContaCtb, nFramework::TClientDataSet& ACdsLctoCtb) override;
  IEnviarInfoContabil& MsgTree(std::shared_ptr<nFramework::ITreeMessager> AMsgTree) override;
  IEnviarInfoContabil& Progresso(nFramework::TnFraProgresso& AProgresso) override;
  // REQUIRES: DataSets was given; a connection is open.
  void Enviar() override;

 private:
  void Mostrar(const std::string& ATexto);
  // Raises when the packages built are none, saying why; warns of marked entries that no
  // package carries.
  void VerificarLotes();
  void EnviarLote(const TLoteJson& ALote, std::string& AChavePacote);
  // The copy of a package in the copies' folder (UlmoEsfingeOnlineCopias_U); returns its path.
  std::string GravarCopia(std::string_view AJson);

  std::string FToken;
  nFramework::TnFraProgresso* FProgresso = nullptr;
  TRecConfig FConfig;
  nFramework::TClientDataSet* FCdsContaCtb = nullptr;
  nFramework::TClientDataSet* FCdsLctoCtb = nullptr;
  std::shared_ptr<nFramework::ITreeMessager> FMsgTreeLista;
  std::shared_ptr<IGerarDadosEnvio> FDados;  // of the run under way
};

}  // namespace nUlmoEsfingeOnline
