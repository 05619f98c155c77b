#include "SplashDesktop_U.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace nDesktop {

namespace {

const QColor AzulEscuro(11, 37, 69);
const QColor AzulMedio(19, 64, 116);
const QColor Dourado(224, 178, 74);

// A court's building: pediment, frieze, six columns and the steps, in outline.
void DesenharTribunal(QPainter& p, const QRectF& r) {
  p.save();
  QPen pen(QColor(255, 255, 255, 200), 2.2);
  pen.setJoinStyle(Qt::MiterJoin);
  p.setPen(pen);
  p.setBrush(QColor(255, 255, 255, 22));
  const double w = r.width(), h = r.height(), x = r.left(), y = r.top();
  QPainterPath frontao;
  frontao.moveTo(x + w * 0.02, y + h * 0.30);
  frontao.lineTo(x + w * 0.50, y);
  frontao.lineTo(x + w * 0.98, y + h * 0.30);
  frontao.closeSubpath();
  p.drawPath(frontao);
  p.drawRect(QRectF(x + w * 0.05, y + h * 0.31, w * 0.90, h * 0.07));
  const int colunas = 6;
  const double topo = y + h * 0.41, base = y + h * 0.84, larg = w * 0.075;
  for (int i = 0; i < colunas; ++i) {
    double cx = x + w * 0.12 + i * (w * 0.76 - larg) / (colunas - 1);
    p.drawRect(QRectF(cx, topo, larg, base - topo));
    p.drawLine(QPointF(cx + larg / 2, topo + 6), QPointF(cx + larg / 2, base - 6));
  }
  p.drawRect(QRectF(x + w * 0.04, y + h * 0.85, w * 0.92, h * 0.06));
  p.drawRect(QRectF(x, y + h * 0.92, w, h * 0.07));
  // The scales of the court above the pediment's centre.
  p.setPen(QPen(Dourado, 2.4));
  p.setBrush(Qt::NoBrush);
  QPointF c(x + w * 0.50, y + h * 0.20);
  p.drawEllipse(c, w * 0.035, w * 0.035);
  p.restore();
}

}  // namespace

TSplashDesktop::TSplashDesktop(const QString& aTitulo, const QStringList& aItens, QWidget* aPai)
    : QWidget(aPai, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      FTitulo(aTitulo),
      FItens(aItens),
      FMensagem(QStringLiteral("Carregando os módulos...")) {
  setObjectName(QStringLiteral("TUlmoSSplash"));
  setFixedSize(Largura, Altura);
  setWindowTitle(aTitulo);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TSplashDesktop::SetMensagem(const QString& aMensagem) {
  FMensagem = aMensagem;
  update();
}

void TSplashDesktop::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = rect();

  QLinearGradient fundo(r.topLeft(), r.bottomRight());
  fundo.setColorAt(0.0, AzulEscuro);
  fundo.setColorAt(1.0, AzulMedio);
  p.fillRect(r, fundo);

  // Soft light behind the building and a few arcs, for depth.
  QRadialGradient luz(QPointF(r.width() * 0.78, r.height() * 0.34), r.width() * 0.42);
  luz.setColorAt(0.0, QColor(255, 255, 255, 46));
  luz.setColorAt(1.0, QColor(255, 255, 255, 0));
  p.fillRect(r, luz);
  p.setPen(QPen(QColor(255, 255, 255, 18), 1.5));
  for (int i = 0; i < 5; ++i) {
    double raio = 220 + i * 46;
    p.drawEllipse(QPointF(r.width() * 0.78, r.height() * 0.34), raio, raio);
  }

  DesenharTribunal(p, QRectF(r.width() * 0.60, 58, 220, 200));

  // Title block.
  p.setPen(Qt::white);
  QFont titulo(font());
  titulo.setPixelSize(46);
  titulo.setBold(true);
  p.setFont(titulo);
  p.drawText(QRectF(44, 70, 380, 60), Qt::AlignLeft | Qt::AlignVCenter, FTitulo);
  p.fillRect(QRectF(46, 136, 64, 4), Dourado);
  QFont sub(font());
  sub.setPixelSize(19);
  p.setFont(sub);
  p.drawText(QRectF(44, 150, 380, 30), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Tribunal de Contas do Estado"));
  QFont texto(font());
  texto.setPixelSize(13);
  p.setFont(texto);
  p.setPen(QColor(255, 255, 255, 200));
  p.drawText(QRectF(44, 186, 360, 60), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
             QStringLiteral("Arquivos contábeis e envios aos Tribunais de Contas: TCE/PR, TCE/RS, TCE/SC e TCE/SE."));

  // The family's modules, three columns on a light band.
  const QRectF faixa(0, 290, r.width(), 132);
  p.fillRect(faixa, QColor(255, 255, 255, 236));
  p.setPen(AzulEscuro);
  QFont cabecalho(font());
  cabecalho.setPixelSize(12);
  cabecalho.setBold(true);
  cabecalho.setCapitalization(QFont::AllUppercase);
  cabecalho.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
  p.setFont(cabecalho);
  p.drawText(QRectF(44, faixa.top() + 12, 400, 20), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Módulos da família Brivo"));
  QFont item(font());
  item.setPixelSize(14);
  p.setFont(item);
  const double colunaLarg = (r.width() - 88) / 3.0;
  for (int i = 0; i < FItens.size(); ++i) {
    int col = i / 3, lin = i % 3;
    QPointF pos(44 + col * colunaLarg, faixa.top() + 44 + lin * 26);
    p.setBrush(Dourado);
    p.setPen(Qt::NoPen);
    p.drawEllipse(pos + QPointF(4, 0), 3.5, 3.5);
    p.setPen(AzulEscuro);
    p.drawText(QRectF(pos.x() + 16, pos.y() - 11, colunaLarg - 20, 22), Qt::AlignLeft | Qt::AlignVCenter, FItens[i]);
  }

  // Foot: what is loading.
  p.setPen(QColor(255, 255, 255, 210));
  QFont rodape(font());
  rodape.setPixelSize(12);
  p.setFont(rodape);
  p.drawText(QRectF(44, r.height() - 40, r.width() - 88, 24), Qt::AlignLeft | Qt::AlignVCenter, FMensagem);
  p.drawText(QRectF(44, r.height() - 40, r.width() - 88, 24), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("Brivo"));
}

}  // namespace nDesktop
