// A re-entrancy lock, the one way the program tells its own changes from the user's. The main
// window's UpdateLock is raised while the program itself fills controls, and the pages ignore
// their controls' change events then (they must not mark the document modified or write back
// what is only being shown); the view window's ResizeLock while it sizes itself.
#pragma once

namespace vantor {

class TUpdateLock {
 public:
  bool Raised() const { return m_depth > 0; }

  // Raises the lock for one scope and lowers it when the scope ends, also when it ends by an
  // exception. Scopes nest.
  class TScope {
   public:
    explicit TScope(TUpdateLock& lock) : m_lock(lock) { ++m_lock.m_depth; }
    ~TScope() { --m_lock.m_depth; }
    TScope(const TScope&) = delete;
    TScope& operator=(const TScope&) = delete;

   private:
    TUpdateLock& m_lock;
  };

 private:
  int m_depth = 0;
};

}  // namespace vantor
