#include "FakeEsfingeOnline_U.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <nlohmann/json.hpp>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace nUlmoEsfingeTeste {

namespace {

using json = nlohmann::ordered_json;

const char* const kBase = "/esfingeonline";
const char* const kChamadas[] = {"login", "iniciarEnvio", "enviarParcial", "finalizarEnvio", "cancelarEnvioParcial",
                                 "cancelarLote"};

void Erro(httplib::Response& aRes, int aStatus, const std::string& aMensagem) {
  aRes.status = aStatus;
  aRes.set_content(json{{"mensagem", aMensagem}}.dump(), "application/json");
}

void Json(httplib::Response& aRes, const json& aCorpo) {
  aRes.status = 200;
  aRes.set_content(aCorpo.dump(), "application/json");
}

int AnoMesDe(const std::string& aTexto) {
  if (aTexto.size() != 6 || !std::all_of(aTexto.begin(), aTexto.end(), ::isdigit)) return 0;
  int v = std::stoi(aTexto);
  int mes = v % 100;
  return mes >= 1 && mes <= 12 ? v : 0;
}


// A partial send read as it streams (a package of a month runs to tens of megabytes, and a
// tree of it would cost the fake more than the program spends building it): the package's
// month, how many accounts and entries it has, and the entries dated outside its month.
class TLeitorLote : public nlohmann::json_sax<json> {
 public:
  explicit TLeitorLote(int aAnoMes) : FMes(std::to_string(aAnoMes)) {}
  bool Valido() const { return FValido && FRaiz == 1; }
  int AnoMes = 0, Contas = 0, Lancamentos = 0;
  json Erros = json::array();

  bool null() override { return Valor(nullptr); }
  bool boolean(bool) override { return Valor(nullptr); }
  bool number_integer(number_integer_t v) override { return Numero(static_cast<long long>(v)); }
  bool number_unsigned(number_unsigned_t v) override { return Numero(static_cast<long long>(v)); }
  bool number_float(number_float_t, const string_t&) override { return Valor(nullptr); }
  bool string(string_t& v) override { return Valor(&v); }
  bool binary(binary_t&) override { return Valor(nullptr); }
  bool start_object(std::size_t) override { return Abrir(false); }
  bool end_object() override {
    if (FPilha.back().Tipo == Lcto) {
      if (FData.size() < 7 || FData.substr(0, 4) + FData.substr(5, 2) != FMes)
        Erros.push_back({{"mensagem", "Lançamento " + std::to_string(FSeq) + " de " + FData + " fora do mês do pacote"}});
    }
    FPilha.pop_back();
    return true;
  }
  bool start_array(std::size_t) override { return Abrir(true); }
  bool end_array() override {
    FPilha.pop_back();
    return true;
  }
  bool key(string_t& k) override {
    FPilha.back().Chave = k;
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    FValido = false;
    return false;
  }

 private:
  enum TTipo { Raiz, Lote, ListaContas, Lctos, Lcto, Outro };
  struct TNivel {
    TTipo Tipo;
    std::string Chave;
  };
  // What a value is, by where it stands; counts it in its array.
  TTipo Entrar(bool aObjeto, bool aArray) {
    if (FPilha.empty()) {
      if (!aArray) FValido = false;
      return Raiz;
    }
    TNivel& pai = FPilha.back();
    switch (pai.Tipo) {
      case Raiz:
        if (++FRaiz == 1 && !aObjeto) FValido = false;
        return FRaiz == 1 && aObjeto ? Lote : Outro;
      case Lote:
        if (aArray && pai.Chave == "contasContabeis") return ListaContas;
        if (aArray && pai.Chave == "lancamentosContabeis") return Lctos;
        return Outro;
      case ListaContas: ++Contas; return Outro;
      case Lctos:
        ++Lancamentos;
        if (!aObjeto) return Outro;
        FData.clear();
        FSeq = 0;
        return Lcto;
      default: return Outro;
    }
  }
  bool Abrir(bool aArray) {
    TTipo t = Entrar(!aArray, aArray);
    FPilha.push_back({t, {}});
    return true;
  }
  bool Valor(const std::string* aTexto) {
    TTipo t = Entrar(false, false);
    (void)t;
    if (!FPilha.empty() && FPilha.back().Tipo == Lcto && aTexto && FPilha.back().Chave == "dataLancamento") FData = *aTexto;
    return true;
  }
  bool Numero(long long v) {
    Entrar(false, false);
    if (FPilha.empty()) return true;
    const TNivel& n = FPilha.back();
    if (n.Tipo == Lote && n.Chave == "anoMes") AnoMes = static_cast<int>(v);
    if (n.Tipo == Lcto && n.Chave == "numeroSequencial") FSeq = static_cast<int>(v);
    return true;
  }

  std::string FMes;
  std::vector<TNivel> FPilha;
  int FRaiz = 0;
  bool FValido = true;
  std::string FData;
  int FSeq = 0;
};

void ChecarChamada(const std::string& aChamada) {
  if (std::find(std::begin(kChamadas), std::end(kChamadas), aChamada) == std::end(kChamadas))
    throw std::invalid_argument("chamada desconhecida: " + aChamada);
}

}  // namespace

TFakeEsfingeOnline::TFakeEsfingeOnline(int aPorta) : FServidor(std::make_unique<httplib::Server>()) {
  FServidor->set_payload_max_length(64u << 20);
  auto tratar = [this](const httplib::Request& req, httplib::Response& res) { Tratar(req, res); };
  FServidor->Get(".*", tratar);
  // Bodies are read here: a month's package runs to tens of megabytes, taken in one allocation,
  // or not kept at all when the partial sends go unread.
  FServidor->Post(".*", [this](const httplib::Request& req, httplib::Response& res, const httplib::ContentReader& ler) {
    httplib::Request r = req;
    const bool descartar = FSemConferir && req.path.ends_with("/registroscontabeis/empresas/enviarParcial");
    if (!descartar && req.has_header("Content-Length"))
      r.body.reserve(std::min<size_t>(std::stoull(req.get_header_value("Content-Length")), 64u << 20));
    ler([&](const char* dados, size_t n) {
      if (!descartar) r.body.append(dados, n);
      return true;
    });
    Tratar(r, res);
  });
  if (aPorta == 0) {
    FPorta = FServidor->bind_to_any_port("127.0.0.1");
  } else {
    FPorta = FServidor->bind_to_port("127.0.0.1", aPorta) ? aPorta : -1;
  }
  if (FPorta <= 0) throw std::runtime_error("não foi possível escutar em 127.0.0.1:" + std::to_string(aPorta));
  FThread = std::thread([this] { FServidor->listen_after_bind(); });
  while (!FServidor->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TFakeEsfingeOnline::~TFakeEsfingeOnline() {
  FServidor->stop();
  if (FThread.joinable()) FThread.join();
}

std::string TFakeEsfingeOnline::Url() const { return "http://127.0.0.1:" + std::to_string(FPorta); }

void TFakeEsfingeOnline::Falhar(const std::string& aChamada, int aAnoMes, int aStatus) {
  ChecarChamada(aChamada);
  std::lock_guard<std::mutex> lock(FMutex);
  FFalhas.push_back({aChamada, aAnoMes, aStatus});
}

void TFakeEsfingeOnline::Sabotar(const std::string& aChamada, TSabotagem aSabotagem, int aAnoMes, int aAtrasoMs) {
  ChecarChamada(aChamada);
  std::lock_guard<std::mutex> lock(FMutex);
  TFalha f{aChamada, aAnoMes, aSabotagem == TSabotagem::Erro401 ? 401 : 500};
  f.Sabotagem = true;
  f.Tipo = aSabotagem;
  f.AtrasoMs = aAtrasoMs;
  FFalhas.push_back(f);
}

void TFakeEsfingeOnline::Estragar(const TFalha& aFalha, httplib::Response& aRes) {
  std::string corpo = aRes.body;
  std::string tipo = "application/json";
  if (aFalha.Tipo == TSabotagem::Queda && corpo.empty()) corpo = R"({"mensagem":"Operação realizada"})";
  if (aFalha.Tipo == TSabotagem::Latin1) {
    json j = corpo.empty() ? json::object() : json::parse(corpo, nullptr, false);
    if (j.is_object()) j["mensagem"] = "Operação concluída às 10h, período de março";
    corpo = j.dump();
    tipo = "application/json; charset=utf-8";
  }
  if (aFalha.Tipo == TSabotagem::Atraso) tipo = aRes.get_header_value("Content-Type");
  EstragarResposta(aRes, aFalha.Tipo, corpo, tipo.empty() ? "application/json" : tipo, aFalha.AtrasoMs);
}

void TFakeEsfingeOnline::Registrar(const std::string& aArquivo) {
  std::lock_guard<std::mutex> lock(FMutex);
  FRegistro.open(aArquivo, std::ios::app | std::ios::binary);
  if (!FRegistro) throw std::runtime_error("não foi possível abrir o registro " + aArquivo);
}

void TFakeEsfingeOnline::SemConferir() {
  std::lock_guard<std::mutex> lock(FMutex);
  FSemConferir = true;
}

std::vector<TFakeEsfingeOnline::TRequisicao> TFakeEsfingeOnline::Requisicoes() const {
  std::lock_guard<std::mutex> lock(FMutex);
  return FRequisicoes;
}

std::vector<std::string> TFakeEsfingeOnline::Chamadas() const {
  std::vector<std::string> r;
  for (const auto& req : Requisicoes()) r.push_back(req.Metodo + " " + req.Alvo);
  return r;
}

std::vector<TFakeEsfingeOnline::TPacote> TFakeEsfingeOnline::Pacotes() const {
  std::lock_guard<std::mutex> lock(FMutex);
  return FPacotes;
}

std::string TFakeEsfingeOnline::Estado() const {
  json pacotes = json::array();
  for (const TPacote& p : Pacotes())
    pacotes.push_back({{"chavePacote", p.Chave},
                       {"anoMes", p.AnoMes},
                       {"estado", p.Estado},
                       {"contas", p.Contas},
                       {"lancamentos", p.Lancamentos},
                       {"recibo", p.Recibo}});
  return json{{"pacotes", pacotes}}.dump();
}

const TFakeEsfingeOnline::TFalha* TFakeEsfingeOnline::Falha(const std::string& aChamada, int aAnoMes) const {
  for (const TFalha& f : FFalhas)
    if (f.Chamada == aChamada && (f.AnoMes == 0 || f.AnoMes == aAnoMes)) return &f;
  return nullptr;
}

TFakeEsfingeOnline::TPacote* TFakeEsfingeOnline::PacoteDaChave(const std::string& aChave) {
  for (TPacote& p : FPacotes)
    if (p.Chave == aChave) return &p;
  return nullptr;
}

void TFakeEsfingeOnline::Tratar(const httplib::Request& aReq, httplib::Response& aRes) {
  if (aReq.method == "GET" && aReq.path == "/fake/estado") {
    aRes.set_content(Estado(), "application/json");
    return;
  }
  std::optional<TFalha> depois;
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FRequisicoes.push_back({aReq.method, aReq.target, aReq.body, aReq.get_header_value("AUTH_TOKEN")});
    if (FRegistro.is_open()) FRegistro << aReq.method << ' ' << aReq.target << '\t' << aReq.body << std::endl;
    try {
      Responder(aReq, aRes, depois);
    } catch (const std::exception& e) {  // a body of unexpected types
      Erro(aRes, 400, std::string("Requisição inválida: ") + e.what());
    }
  }
  // Only a reply of a call done is spoilt; a refusal goes as it is.
  if (depois && aRes.status < 300) Estragar(*depois, aRes);
}

void TFakeEsfingeOnline::Responder(const httplib::Request& aReq, httplib::Response& aRes,
                                   std::optional<TFalha>& aDepois) {
  const std::string token = aReq.get_header_value("AUTH_TOKEN");

  const std::string base = kBase;
  const std::string caminho = aReq.path.rfind(base, 0) == 0 ? aReq.path.substr(base.size()) : std::string();
  const bool post = aReq.method == "POST";
  auto falhou = [&](const char* aChamada, int aAnoMes) {
    const TFalha* f = Falha(aChamada, aAnoMes);
    if (!f) return false;
    if (!f->Sabotagem) {
      Erro(aRes, f->Status, std::string("Falha simulada em ") + aChamada);
      return true;
    }
    switch (f->Tipo) {
      case TSabotagem::Erro500:
        aRes.status = 500;
        aRes.set_content("<html><body><h1>HTTP Status 500 - Internal Server Error</h1></body></html>", "text/html");
        return true;
      case TSabotagem::Erro401:
        aRes.status = 401;
        return true;
      default:
        aDepois = *f;
        return false;
    }
  };
  auto tokenValido = [&] {
    if (std::find(FTokens.begin(), FTokens.end(), token) != FTokens.end()) return true;
    Erro(aRes, 401, "Token inválido ou expirado");
    return false;
  };

  if (post && caminho == "/autenticacao/login") {
    if (falhou("login", 0)) return;
    if (aReq.get_header_value("codigoAcesso").empty() || aReq.get_header_value("senha").empty() ||
        aReq.get_param_value("codigoUg").empty())
      return Erro(aRes, 401, "Usuário, senha ou unidade gestora não informados");
    FTokens.push_back("TK" + std::to_string(++FContador));
    return Json(aRes, {{"chave", FTokens.back()}});
  }

  if (!post && caminho == "/v6/registroscontabeis/empresas/iniciarEnvio") {
    if (!tokenValido()) return;
    const int anoMes = AnoMesDe(aReq.get_param_value("anoMes"));
    if (anoMes == 0) return Erro(aRes, 400, "anoMes inválido");
    if (falhou("iniciarEnvio", anoMes)) return;
    TPacote p;
    p.AnoMes = anoMes;
    p.Chave = "PCT-" + std::to_string(anoMes) + "-" + std::to_string(++FContador);
    p.Estado = "iniciado";
    FPacotes.push_back(p);
    return Json(aRes, {{"chavePacote", p.Chave}});
  }

  if (post && caminho == "/v6/registroscontabeis/empresas/enviarParcial") {
    if (!tokenValido()) return;
    TPacote* p = PacoteDaChave(aReq.get_param_value("chavePacote"));
    if (!p || p->Estado != "iniciado") return Erro(aRes, 400, "Pacote inexistente ou não iniciado");
    if (falhou("enviarParcial", p->AnoMes)) return;
    if (FSemConferir) {
      p->Estado = "enviado";
      aRes.status = 200;
      return;
    }
    TLeitorLote lote(p->AnoMes);
    json::sax_parse(aReq.body, &lote);
    if (!lote.Valido()) return Erro(aRes, 422, "");
    if (lote.AnoMes != p->AnoMes) return Erro(aRes, 400, "anoMes do lote difere do pacote");
    if (!lote.Erros.empty()) {
      aRes.status = 400;
      aRes.set_content(json{{"mensagem", "Lote recusado"}, {"erros", lote.Erros}}.dump(), "application/json");
      return;
    }
    p->Contas = lote.Contas;
    p->Lancamentos = lote.Lancamentos;
    p->Estado = "enviado";
    aRes.status = 200;
    return;
  }

  if (post && caminho == "/v6/registroscontabeis/empresas/finalizarEnvio") {
    if (!tokenValido()) return;
    json corpo = json::parse(aReq.body, nullptr, false);
    if (corpo.is_discarded() || !corpo.is_object()) return Erro(aRes, 422, "");
    TPacote* p = PacoteDaChave(corpo.value("chavePacote", ""));
    if (!p || p->Estado != "enviado") return Erro(aRes, 400, "Pacote inexistente ou sem envio parcial");
    if (falhou("finalizarEnvio", p->AnoMes)) return;
    if (FSemConferir) {
      p->Contas = corpo.value("quantidadeContaContabil", -1);
      p->Lancamentos = corpo.value("quantidadeLancamentoContabil", -1);
    }
    if (corpo.value("quantidadeContaContabil", -1) != p->Contas ||
        corpo.value("quantidadeLancamentoContabil", -1) != p->Lancamentos)
      return Erro(aRes, 400, "Quantidade divergente");
    p->Estado = "finalizado";
    p->Recibo = "REC-" + std::to_string(p->AnoMes) + "-" + std::to_string(++FContador);
    return Json(aRes, {{"codigoRegistroInformacao", p->Recibo}});
  }

  if (post && caminho == "/servicosGerais/cancelarEnvioParcial") {
    if (!tokenValido()) return;
    TPacote* p = PacoteDaChave(aReq.get_param_value("chavePacote"));
    if (!p || (p->Estado != "iniciado" && p->Estado != "enviado")) return Erro(aRes, 400, "Pacote não está aberto");
    if (falhou("cancelarEnvioParcial", p->AnoMes)) return;
    p->Estado = "cancelado";
    aRes.status = 200;
    return;
  }

  if (post && caminho == "/servicosGerais/cancelarPorCodigoRegistroInformacao") {
    if (!tokenValido()) return;
    if (aReq.get_param_value("identificadorUnidadeGestora").empty())
      return Erro(aRes, 400, "Unidade gestora não informada");
    json corpo = json::parse(aReq.body, nullptr, false);
    if (corpo.is_discarded() || !corpo.is_object()) return Erro(aRes, 422, "");
    const std::string recibo = corpo.value("codigoRegistro", "");
    auto it = std::find_if(FPacotes.begin(), FPacotes.end(), [&](const TPacote& p) { return p.Recibo == recibo; });
    if (it == FPacotes.end() || it->Estado != "finalizado")
      return Erro(aRes, 400, "Registro " + recibo + " não encontrado ou já cancelado");
    if (falhou("cancelarLote", it->AnoMes)) return;
    it->Estado = "cancelado";
    aRes.status = 200;
    return;
  }

  Erro(aRes, 404, "Recurso inexistente: " + aReq.method + " " + aReq.path);
}

}  // namespace nUlmoEsfingeTeste
