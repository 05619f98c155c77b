// TSplashDesktop: the splash window the desktop shows while the module libraries load: the
// program's title and the captions TUlmoSSplash lists, over artwork painted here.
#pragma once
#include <QString>
#include <QStringList>
#include <QWidget>

namespace nDesktop {

class TSplashDesktop : public QWidget {
  Q_OBJECT
 public:
  static constexpr int Largura = 700;
  static constexpr int Altura = 467;

  TSplashDesktop(const QString& aTitulo, const QStringList& aItens, QWidget* aPai = nullptr);

  const QStringList& Itens() const { return FItens; }
  // The line at the foot: what is loading now.
  void SetMensagem(const QString& aMensagem);
  const QString& Mensagem() const { return FMensagem; }

 protected:
  void paintEvent(QPaintEvent* aEvento) override;

 private:
  QString FTitulo;
  QStringList FItens;
  QString FMensagem;
};

}  // namespace nDesktop
