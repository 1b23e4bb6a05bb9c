// Run-time classes, dynamic creation by class and name, and the memory exception.
#include <gtest/gtest.h>

#include "afx_core.h"

namespace {

int liveShapes = 0;

}  // namespace

class CShape : public CObject {
  DECLARE_DYNAMIC(CShape)
 public:
  CShape() { ++liveShapes; }
  ~CShape() override { --liveShapes; }
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
  DECLARE_DYNCREATE(CCircle)
 protected:
  CCircle() = default;  // only dynamic creation makes one

 public:
  int radius = 7;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CSquare : public CShape {
  DECLARE_SERIAL(CSquare)
 public:
  char payload[64] = {};
};
IMPLEMENT_SERIAL(CSquare, CShape, 0xFFFF)

TEST(CoreObject, RunTimeClassKnowsNameBaseAndKinship) {
  CObject* shape = RUNTIME_CLASS(CCircle)->CreateObject();
  ASSERT_NE(shape, nullptr);
  EXPECT_STREQ(shape->GetRuntimeClass()->m_lpszClassName, "CCircle");
  EXPECT_TRUE(shape->IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_TRUE(shape->IsKindOf(RUNTIME_CLASS(CShape)));
  EXPECT_TRUE(shape->IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(shape->IsKindOf(RUNTIME_CLASS(CSquare)));
  EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_pBaseClass, RUNTIME_CLASS(CShape));
  EXPECT_EQ(static_cast<CCircle*>(shape)->radius, 7);
  delete shape;
  EXPECT_EQ(liveShapes, 0);
}

TEST(CoreObject, CreatesByClassNameOnlyWhenDynamicallyCreatable) {
  CObject* square = CRuntimeClass::CreateObject("CSquare");
  ASSERT_NE(square, nullptr);
  EXPECT_TRUE(square->IsKindOf(RUNTIME_CLASS(CSquare)));
  delete square;

  EXPECT_EQ(CRuntimeClass::FromName("CCircle"), RUNTIME_CLASS(CCircle));
  EXPECT_EQ(CRuntimeClass::CreateObject("CShape"), nullptr);   // dynamic only
  EXPECT_EQ(CRuntimeClass::CreateObject("ccircle"), nullptr);  // names are exact
  EXPECT_EQ(CRuntimeClass::CreateObject("CNoSuchClass"), nullptr);
  EXPECT_EQ(CRuntimeClass::CreateObject(nullptr), nullptr);
  EXPECT_EQ(RUNTIME_CLASS(CSquare)->m_wSchema, 0xFFFFu);
}

TEST(CoreObject, CreatingAnObjectOfAKindKeepsOnlyThatKind) {
  CCircle* circle = AfxCreateObjectOf<CCircle>(RUNTIME_CLASS(CCircle));
  ASSERT_NE(circle, nullptr);
  EXPECT_EQ(circle->radius, 7);
  delete circle;
  CShape* shape = AfxCreateObjectOf<CShape>(RUNTIME_CLASS(CSquare));  // a kind of shape
  ASSERT_NE(shape, nullptr);
  EXPECT_TRUE(shape->IsKindOf(RUNTIME_CLASS(CSquare)));
  delete shape;
  // Another kind is made and thrown away; no class or no factory makes none.
  EXPECT_EQ(AfxCreateObjectOf<CSquare>(RUNTIME_CLASS(CCircle)), nullptr);
  EXPECT_EQ(liveShapes, 0);
  EXPECT_EQ(AfxCreateObjectOf<CShape>(RUNTIME_CLASS(CShape)), nullptr);
  EXPECT_EQ(AfxCreateObjectOf<CShape>(nullptr), nullptr);
}

TEST(CoreObject, AllocationFailureRaisesMemoryExceptionAndCreationReturnsNull) {
  AfxFailAllocationAfter(1);
  EXPECT_EQ(RUNTIME_CLASS(CCircle)->CreateObject(), nullptr);
  EXPECT_EQ(liveShapes, 0);

  AfxFailAllocationAfter(2);  // the string's first allocation passes, the second fails
  bool caught = false;
  CString text;
  try {
    text = CString('a', 100);
    text += CString('b', 1000);
  } catch (CMemoryException* e) {
    caught = true;
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
    e->Delete();
  }
  AfxFailAllocationAfter(0);
  EXPECT_TRUE(caught);
  EXPECT_EQ(text.GetLength(), 100);  // the failed append left the text as it was

  caught = false;
  AfxFailAllocationAfter(1);
  try {
    CDWordArray values;
    values.SetSize(10);
  } catch (CException* e) {
    caught = e->IsKindOf(RUNTIME_CLASS(CMemoryException));
    e->Delete();
  }
  AfxFailAllocationAfter(0);
  EXPECT_TRUE(caught);
}

TEST(CoreObject, ResourceExceptionIsDistinctFromMemoryException) {
  try {
    AfxThrowResourceException();
  } catch (CException* e) {
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CResourceException)));
    EXPECT_FALSE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    e->Delete();
  }
}
