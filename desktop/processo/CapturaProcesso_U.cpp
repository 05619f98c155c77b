// The TCE-SC screen rendered to PNG for review by eye: its panel, its progress, its messages.
#include <stdlib.h>

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QTimer>
#include <memory>

#include "Contexto_U.h"
#include "Exceptions_U.h"
#include "FraProgresso_U.h"
#include "PainelParametros_U.h"
#include "TelaProcesso_U.h"
#include "Variant_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

class TPastaTemporaria {
 public:
  TPastaTemporaria() {
    std::string modelo = (std::filesystem::temp_directory_path() / "ulmo-capturas-XXXXXX").string();
    if (!::mkdtemp(modelo.data())) throw EFileError("Não foi possível criar a pasta temporária das capturas.");
    FCaminho = modelo;
  }
  ~TPastaTemporaria() {
    std::error_code ec;
    std::filesystem::remove_all(FCaminho, ec);
  }
  const std::filesystem::path& Caminho() const { return FCaminho; }

 private:
  std::filesystem::path FCaminho;
};

void Gravar(QWidget* aTela, const std::filesystem::path& aArquivo, std::vector<std::filesystem::path>& aGravados) {
  if (!aTela->grab().save(QString::fromStdString(aArquivo.string()), "PNG"))
    throw EFileError("Não foi possível gravar a captura " + aArquivo.string() + ".");
  aGravados.push_back(aArquivo);
}

void Digitar(TPainelParametros* aPainel, const std::string& aAlias, const QString& aTexto) {
  if (auto* e = qobject_cast<QLineEdit*>(aPainel->Controle(aAlias))) e->setText(aTexto);
}

}  // namespace

std::vector<std::filesystem::path> CapturarTelasProcesso(const std::filesystem::path& aPasta) {
  std::filesystem::create_directories(aPasta);
  TPastaTemporaria saida;
  std::unique_ptr<QWidget> widget(CriarTelaProcesso("TUlmoDPGerarArquivosCtb", nullptr));
  auto* tela = static_cast<TTelaProcesso*>(widget.get());
  tela->resize(920, 680);
  TPainelParametros* painel = tela->Painel();
  Digitar(painel, "pCompetInicial", "01/01/2024");
  Digitar(painel, "pCompetFinal", "31/12/2024");
  Digitar(painel, "pDiretorio", QString::fromStdString((saida.Caminho() / "TCE-SC").string()));
  tela->show();
  QApplication::processEvents();
  std::vector<std::filesystem::path> gravados;
  Gravar(tela, aPasta / "processo-parametros.png", gravados);

  // Mid-run: the first state with both bars moving, else the first one with both bars set; the
  // demo company is small, and its run shows few states.
  QPixmap meio;
  bool bom = false;
  QObject::connect(tela->Progresso(), &TFraProgresso::Mostrado, tela, [&] {
    TFraProgresso* f = tela->Progresso();
    if (bom || f->BarraTotal()->maximum() <= 0 || f->BarraTotal()->value() < 1 || f->BarraParcial()->maximum() <= 1 ||
        f->TextoParcial().isEmpty())
      return;
    bom = f->BarraParcial()->value() >= 1;
    if (bom || meio.isNull()) meio = tela->grab();
  });
  QEventLoop laco;
  QObject::connect(tela, &TTelaProcesso::Terminou, &laco, &QEventLoop::quit);
  tela->Executar();
  if (tela->Executando()) laco.exec();
  QApplication::processEvents();
  if (!meio.isNull()) {
    std::filesystem::path arquivo = aPasta / "processo-progresso.png";
    if (!meio.save(QString::fromStdString(arquivo.string()), "PNG"))
      throw EFileError("Não foi possível gravar a captura " + arquivo.string() + ".");
    gravados.push_back(arquivo);
  }
  Gravar(tela, aPasta / "processo-mensagens.png", gravados);
  return gravados;
}

}  // namespace nDesktop
