// The module library UlmoPkDevExpress: the grid screens of the court settings and the
// e-Sfinge process forms. It exports nothing; each of its units registers its classes in its
// own initialization.
