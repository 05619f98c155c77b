// The charts of accounts of the demo database: the companies' own chart (a small public
// company's, groups 1 to 4 and the control groups 7 and 8) and the courts' chart (the public
// sector chart, seven levels written to the mask "9.9.9.9.9.99.99"), with the court account of
// every analytic company account.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace nHost {

struct TContaDemo {
  std::string Classif;
  std::string Descr;
  std::string ClassifTCE;  // the court account of an analytic account; empty for a synthetic one
  // An analytic account the demo leaves unrelated to its court account, for the user to relate.
  bool SemRelacao = false;
  bool Analitica() const { return !ClassifTCE.empty(); }
  // A contra account ("(-) ...") keeps its balance on the side opposite to its group's.
  bool Redutora() const { return Descr.rfind("(-)", 0) == 0; }
};

struct TContaTCEDemo {
  std::string Classif;  // full mask, zero levels included
  std::string Descr;
  bool Analitica = false;
};

// The company chart in classification order.
const std::vector<TContaDemo>& PlanoContasDemo();
// The court chart in classification order, every ancestor of an account present; an account is
// analytic when nothing lies below it.
const std::vector<TContaTCEDemo>& PlanoTCEDemo();
// The code of a court account (CONTATCE): its position in the court chart, from 1, as short
// as the court files' four-digit field asks.
int64_t ContaTCEDemo(const std::string& classif);
// The court parent, written to the full mask: "1.1.1.1.1.01.00" gives "1.1.1.1.1.00.00"; the
// first level has none ("").
std::string ClassifPaiTCE(const std::string& classif);
// The classification without its trailing levels of zeros: "1.1.1.1.1.00.00" gives "1.1.1.1.1"
// (the form of a court whose chart is not written to the full mask).
std::string ClassifSemNiveisZero(const std::string& classif);

}  // namespace nHost
