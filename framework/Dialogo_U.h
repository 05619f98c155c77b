// The dialog service: a question with button captions whose answer is the index of the chosen
// button. A front end installs the service; without one every question takes its safe answer.
#pragma once
#include <memory>
#include <string>
#include <vector>

namespace nFramework {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

struct TnDialogo {
  std::string Texto{};
  TMsgDlgType Tipo = mtConfirmation;
  std::vector<std::string> Botoes{};  // captions; '&' marks the accelerator
  int Padrao = 0;                   // the focused button
  int Cancelar = -1;                // the button Escape chooses; -1 when none
};

// The answer that risks nothing: the cancel button, else a "Não"/"Cancelar" button, else the
// last one (0 for a dialog without buttons).
int RespostaSegura(const TnDialogo& aDialogo);
// A caption without its accelerator mark, for comparing ("Sim para &todos" -> "Sim para todos").
std::string CaptionSemAtalho(const std::string& aCaption);

class IDialogoService {
 public:
  virtual ~IDialogoService() = default;
  // Returns the index of the chosen button.
  virtual int Perguntar(const TnDialogo& aDialogo) = 0;
};
void SetDialogoService(std::shared_ptr<IDialogoService> aService);

// Asks the question; the answer is the index of the chosen button in aBotoes. With no
// captions the dialog has one "OK" button.
int nMessageDlg(const std::string& aTexto, TMsgDlgType aTipo, const std::vector<std::string>& aBotoes,
                int aPadrao = 0, int aCancelar = -1, int aHelpCtx = 0);

// Resource texts of the framework, for fmt::format with the file's name or path.
inline constexpr char infoMSubistituirArquivoDestino[] = "O arquivo {} já existe. Deseja substituí-lo?";
inline constexpr char erroMGravarcaoArquivoDestinoCancelada[] = "Gravação do arquivo {} cancelada pelo usuário.";

}  // namespace nFramework
