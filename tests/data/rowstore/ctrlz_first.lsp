abc
