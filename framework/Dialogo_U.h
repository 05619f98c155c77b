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
int RespostaSegura(const TnDialogo& ADialogo);
// A caption without its accelerator mark, for comparing ("Sim para &todos" -> "Sim para todos").
std::string CaptionSemAtalho(const std::string& ACaption);

class IDialogoService {
 public:
  virtual ~IDialogoService() = default;
  // Returns the index of the chosen button.
  virtual int Perguntar(const TnDialogo& ADialogo) = 0;
};
void SetDialogoService(std::shared_ptr<IDialogoService> AService);

// Asks the question; the answer is the index of the chosen button in ABotoes. With no
// captions the dialog has one "OK" button.
int nMessageDlg(const std::string& ATexto, TMsgDlgType ATipo, const std::vector<std::string>& ABotoes,
                int APadrao = 0, int ACancelar = -1, int AHelpCtx = 0);

// Resource texts of the framework, for fmt::format with the file's name or path.
inline constexpr char infoMSubistituirArquivoDestino[] = "O arquivo {} já existe. Deseja substituí-lo?";
inline constexpr char erroMGravarcaoArquivoDestinoCancelada[] = "Gravação do arquivo {} cancelada pelo usuário.";

}  // namespace nFramework
