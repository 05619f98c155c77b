// TLinhaComando: the command-line front end, the main window's stand-in. Reads the
// arguments, settles the configuration and the user's selection, installs the terminal's
// dialog, progress and log services, and runs one command against the main form.
//
//   ulmo [options] menu
//   ulmo [options] params ACTION
//   ulmo [options] run ACTION [alias=value ...] [--grade GRID] [--marcar EXPR|todos]
//        [--desmarcar EXPR|todos] [--definir EXPR|todos FIELD=value ...] [--importar FILE.csv]
//        [--acao NAME ...] [--mostrar [GRID]] [--formato tabela|csv|json]
//   ulmo [options] register CLASS list|get|insert|update|delete [FIELD=value ...] [--formato csv|json]
//   ulmo [options] demo [--empresa N --lancamentos N --contas N]
//   ulmo [options] classes | sobre
#pragma once
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "ComandoDemo_U.h"
#include "ComandoGrade_U.h"
#include "Projeto_U.h"

class TLinhaComando : public nFramework::IFrontEnd {
 public:
  TLinhaComando(std::istream& aIn, std::ostream& aOut, std::ostream& aErr) : FIn(aIn), FOut(aOut), FErr(aErr) {}

  std::optional<int> Preparar(nFramework::TnAplicacao& aApp) override;
  int Executar(nFramework::TnFrmMenuBrivo& aMenu) override;
  void MostrarErro(const std::string& aMensagem) override;

 private:
  std::istream& FIn;
  std::ostream& FOut;
  std::ostream& FErr;
  std::string FComando;
  std::string FAlvo;
  std::string FOperacao;
  std::vector<std::string> FArgumentos;
  std::vector<std::string> FAcoesPainel;
  TOpcoesGrade FGrade;
  std::string FFormatoCadastro;  // register list/get: csv or json
  TOpcoesDemo FDemo;
};
