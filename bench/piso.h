/* What the court-file floors share: a buffered output file and the field formats of the
   court lines (Windows-1252 text cut and padded by characters, zero-filled numbers, amounts
   from their cents). No checks: the floors only measure what writing the bytes costs. */
#ifndef PISO_H
#define PISO_H

#include <sqlite3.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
  FILE* f;
  char* buf;
  size_t n, cap;
  long long total;
} TSaida;

static inline void SaidaAbrir(TSaida* s, const char* pasta, const char* nome) {
  char caminho[4096];
  snprintf(caminho, sizeof caminho, "%s/%s", pasta, nome);
  s->f = fopen(caminho, "wb");
  if (!s->f) {
    perror(caminho);
    exit(1);
  }
  s->cap = 1 << 20;
  s->buf = malloc(s->cap);
  s->n = 0;
  s->total = 0;
}

static inline void SaidaEsvaziar(TSaida* s) {
  fwrite(s->buf, 1, s->n, s->f);
  s->total += (long long)s->n;
  s->n = 0;
}

static inline char* SaidaReservar(TSaida* s, size_t n) {
  if (s->n + n > s->cap) SaidaEsvaziar(s);
  char* p = s->buf + s->n;
  s->n += n;
  return p;
}

static inline void SaidaBytes(TSaida* s, const char* p, size_t n) { memcpy(SaidaReservar(s, n), p, n); }
static inline void SaidaTexto(TSaida* s, const char* p) { SaidaBytes(s, p, strlen(p)); }
static inline void SaidaFim(TSaida* s) { SaidaBytes(s, "\r\n", 2); }

static inline long long SaidaFechar(TSaida* s) {
  SaidaEsvaziar(s);
  fclose(s->f);
  free(s->buf);
  return s->total;
}

/* UTF-8 text to Windows-1252 (Latin-1 range; the data hold nothing else), cut to `largura`
   characters and blank-filled on the right. */
static inline void CampoTexto(TSaida* s, const char* v, int largura) {
  char* p = SaidaReservar(s, (size_t)largura);
  int k = 0;
  const unsigned char* u = (const unsigned char*)(v ? v : "");
  while (*u && k < largura) {
    if (*u < 0x80) {
      p[k++] = (char)*u++;
    } else if ((*u & 0xE0) == 0xC0 && u[1]) {
      p[k++] = (char)(((u[0] & 0x1F) << 6) | (u[1] & 0x3F));
      u += 2;
    } else {
      p[k++] = '?';
      ++u;
      while ((*u & 0xC0) == 0x80) ++u;
    }
  }
  memset(p + k, ' ', (size_t)(largura - k));
}

/* Digits zero-filled on the left. */
static inline void CampoNumeroTexto(TSaida* s, const char* v, int largura) {
  size_t n = v ? strlen(v) : 0;
  char* p = SaidaReservar(s, (size_t)largura);
  memset(p, '0', (size_t)largura - n);
  memcpy(p + largura - (int)n, v, n);
}

static inline void CampoNumero(TSaida* s, long long v, int largura) {
  char* p = SaidaReservar(s, (size_t)largura);
  for (int i = largura - 1; i >= 0; --i) {
    p[i] = (char)('0' + v % 10);
    v /= 10;
  }
}

/* "0.00" from cents, zero-filled on the left to `largura`. */
static inline void CampoValor(TSaida* s, long long centavos, int largura) {
  char* p = SaidaReservar(s, (size_t)largura);
  p[largura - 1] = (char)('0' + centavos % 10);
  p[largura - 2] = (char)('0' + centavos / 10 % 10);
  p[largura - 3] = '.';
  long long r = centavos / 100;
  for (int i = largura - 4; i >= 0; --i) {
    p[i] = (char)('0' + r % 10);
    r /= 10;
  }
}

/* The amount as the database keeps it, in cents. */
static inline long long Centavos(sqlite3_stmt* st, int col) {
  if (sqlite3_column_type(st, col) == SQLITE_INTEGER) return sqlite3_column_int64(st, col) * 100;
  double v = sqlite3_column_double(st, col) * 100;
  return (long long)(v < 0 ? v - 0.5 : v + 0.5);
}

static inline char* Copia(const unsigned char* t) { return strdup(t ? (const char*)t : ""); }

static inline sqlite3* AbrirBanco(const char* caminho) {
  sqlite3* db;
  if (sqlite3_open_v2(caminho, &db, SQLITE_OPEN_READONLY, NULL) != SQLITE_OK) {
    fprintf(stderr, "%s: %s\n", caminho, sqlite3_errmsg(db));
    exit(1);
  }
  return db;
}

static inline sqlite3_stmt* Preparar(sqlite3* db, const char* sql) {
  sqlite3_stmt* st;
  if (sqlite3_prepare_v2(db, sql, -1, &st, NULL) != SQLITE_OK) {
    fprintf(stderr, "%s\n%s\n", sqlite3_errmsg(db), sql);
    exit(1);
  }
  return st;
}


/* The histories by code (at most 4096), as the product reads them. */
#define PISO_MAX_HIST 4096
static inline void CarregarHistoricos(sqlite3* db, char* hist[PISO_MAX_HIST]) {
  for (int i = 0; i < PISO_MAX_HIST; ++i) hist[i] = NULL;
  sqlite3_stmt* st = Preparar(db, "select CODIGOHISTCTB, DESCRHISTCTB from HISTORICOCTB");
  while (sqlite3_step(st) == SQLITE_ROW) {
    int h = sqlite3_column_int(st, 0);
    if (h >= 0 && h < PISO_MAX_HIST) hist[h] = Copia(sqlite3_column_text(st, 1));
  }
  sqlite3_finalize(st);
}

/* The movement type of each origin of the court system, by the origin's two characters. */
static inline void CarregarMovimentos(sqlite3* db, int sistema, int movim[65536]) {
  for (int i = 0; i < 65536; ++i) movim[i] = -1;
  sqlite3_stmt* st =
      Preparar(db, "select CODIGOORIGLCTOCTB, CODIGOTIPOMOVIMCTB from TCEORIGEMLCTOCTB where CODIGOSISTEMATCE = ?");
  sqlite3_bind_int(st, 1, sistema);
  while (sqlite3_step(st) == SQLITE_ROW) {
    const unsigned char* o = sqlite3_column_text(st, 0);
    movim[o[0] << 8 | (o[0] ? o[1] : 0)] = sqlite3_column_int(st, 1);
  }
  sqlite3_finalize(st);
}

/* "history complement" with the blanks around it trimmed, in buf; returns where it starts. */
static inline const char* TextoHistorico(char* buf, size_t tamanho, const char* historico, const char* complemento) {
  snprintf(buf, tamanho, "%s %s", historico, complemento);
  size_t n = strlen(buf);
  while (n && (unsigned char)buf[n - 1] <= ' ') buf[--n] = 0;
  const char* a = buf;
  while (*a && (unsigned char)*a <= ' ') ++a;
  return a;
}


/* The arguments of the floors that take a database, a company, a court system, a period and
   an output folder; a wrong count ends the program with its usage. */
typedef struct {
  sqlite3* db;
  int empresa, sistema;
  const char *ini, *fim, *pasta;
} TArgumentosPiso;

static inline TArgumentosPiso LerArgumentosPiso(int argc, char** argv) {
  if (argc != 7) {
    fprintf(stderr, "uso: %s BANCO EMPRESA SISTEMA AAAA-MM-DD AAAA-MM-DD PASTA\n", argv[0]);
    exit(2);
  }
  TArgumentosPiso a = {AbrirBanco(argv[1]), atoi(argv[2]), atoi(argv[3]), argv[4], argv[5], argv[6]};
  return a;
}

#endif
